// A host program built against the installed module: it loads the module as the CAD host
// does, runs a standards evaluation and a modal dialog through the public header, and
// unloads the module again.

#include <cstdio>
#include <filesystem>
#include <frame/KaldorSS.h>
#include <fstream>
#include <host/Kdr_String.h>
#include <host/Settings.h>
#include <tuple>
#include <ui/UserAgent.h>

namespace
{
int failures = 0;

void check(bool ok, const char* what)
{
    if (!ok)
    {
        std::printf("FAILED: %s\n", what);
        ++failures;
    }
}
} // namespace

int main()
{
    Kdr_String text("ab");
    text.makeUpper();
    std::printf("%s\n", text.c_str());
    check(text == "AB", "host string");

    // Load: the library entry, then the application's first message.
    int appId = 0;
    check(DllMain(&moduleResources(), DLL_PROCESS_ATTACH, nullptr) == 1, "attach");
    check(acrxEntryPoint(AcRx::kInitAppMsg, &appId) == AcRx::kRetOK, "init message");
    check(gBitmapCheckOn.isLoaded() && gBitmapCheckOff.isLoaded(), "shared bitmaps");

    // A standards evaluation of a small sheet in a scratch library folder.
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "kaldor-consumer";
    fs::remove_all(root);
    fs::create_directories(root / "Connection Standards");
    std::ofstream(root / "Connection Standards" / "Plate.csv", std::ios::binary)
        << "Input\n,Double Thickness\nOutput\n,Double Width\nCalc\nWidth = Thickness * 10\n";
    gSettings.setLibDir(root.string());
    ZxDlgStandardsData request;
    request.mode = ZxDlgStandardsData::kChildRun;
    request.fileName = "Plate.csv";
    for (const auto& [name, value, type] :
         {std::tuple{"Thickness", "12", cellInput}, {"Width", "", cellOutput}})
    {
        ZxVarCell cell;
        cell.name = name;
        cell.value = value;
        cell.cellType = type;
        cell.valueType = valDouble;
        request.varCells.append(cell);
    }
    check(StartDlgStandardsSS(request), "standards evaluation");
    int width = -1;
    check(request.varCells.findVarCell("Width", width) == Acad::eOk && request.varCells[width].value == "120",
          "evaluated width");
    std::printf("Width = %s\n", width >= 0 ? request.varCells[width].value.c_str() : "?");
    fs::remove_all(root);

    // A modal dialog: nobody answers here, so the headless agent cancels it and the record
    // stays as it was passed.
    ZxGridDlgData grid;
    grid.name = "Hall";
    const ZxGridDlgData passed = grid;
    check(!StartDlgGrid(grid), "cancelled dialog");
    check(grid == passed, "record untouched");
    check(AfxGetResourceHandle() == &ui::hostResources(), "host resources after the call");

    // Unload: the module's command group goes with it.
    acedRegCmds()->addCommand(kModuleCommandGroup, "KSS_EVALUATE");
    check(acrxEntryPoint(AcRx::kUnloadAppMsg, &appId) == AcRx::kRetOK, "unload message");
    check(!acedRegCmds()->hasGroup(kModuleCommandGroup), "command group removed");
    DllMain(moduleInstance(), DLL_PROCESS_DETACH, nullptr);

    std::printf("%s\n", failures == 0 ? "consumer ok" : "consumer failed");
    return failures == 0 ? 0 : 1;
}
