// The dialogs kaldor-ss-gui opens, one entry each. A new dialog is one function that reads
// its arguments and opens it, and one line in the table at the end.

#include "../kaldor-ss/CsvTable.h"
#include "GuiProgram.h"
#include "cutting/ZxDlgCSP2.h"
#include "frame/ModuleResources.h"
#include "grid/Csv.h"
#include "grid/FileText.h"
#include "host/AcTransaction.h"
#include "host/DlgCSP2Data.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/Settings.h"
#include "host/TabMappingData.h"
#include "hostio/CuttingStockJson.h"
#include "hostio/MacroJson.h"
#include "spread/FormulaTestDialog.h"
#include "spread/Kdr_DlgStringTable.h"
#include "standards/ZxMappingPage.h"
#include "standards/ZxSSMapping.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <memory>

namespace gui
{
namespace
{
namespace fs = std::filesystem;

std::string absolute(const std::string& path)
{
    std::error_code ignored;
    const fs::path full = fs::absolute(path, ignored);
    return full.empty() ? path : full.string();
}

// ---- stock [DATA.json] ---------------------------------------------------------------------

void defineStock(CLI::App& command, Run& run)
{
    auto file = std::make_shared<std::string>();
    command.add_option("DATA", *file,
                       "Cutting-stock record (JSON, see docs/cutting-stock.md); OK saves it back. Without it "
                       "the bundled sample record is shown and nothing is saved");
    command.callback(
        [file, &run]
        {
            run = [file]
            {
                DlgCSP2Data data;
                const std::string sample = gSettings.libDir() + "../cutting-stock.json";
                const std::string path = file->empty() ? sample : *file;
                return editRecord(
                    [&](std::string& error) {
                        return (file->empty() && !fs::exists(sample)) ||
                               loadCuttingStockJson(path, data, error);
                    },
                    [&] { return StartDlgCSP2(data); },
                    [&](std::string& error)
                    { return file->empty() || saveCuttingStockJson(*file, data, error); });
            };
        });
}

// ---- mapping SHEET --macro FILE.json -------------------------------------------------------

constexpr int IDD_GUI_MACRO_SETTINGS = 8150;

/// The macro's settings window as far as the mapping page needs one: the page, OK and Cancel.
/// OK stores the page's bindings (in the sheets' mapping files) and its sheet list.
class MappingWindow : public ui::Dialog
{
public:
    explicit MappingWindow(TabMappingData& data) : ui::Dialog(IDD_GUI_MACRO_SETTINGS), data_(data) {}

    static void registerTemplate()
    {
        static const bool registered = []
        {
            ui::DialogTemplate window(IDD_GUI_MACRO_SETTINGS, "Macro settings", 0, 0, 280, 280);
            window.defPushButton(IDOK, "OK", 160, 258, 50, 14)
                .pushButton(IDCANCEL, "Cancel", 215, 258, 50, 14);
            moduleResources().addDialog(std::move(window));
            return true;
        }();
        (void)registered;
    }

protected:
    bool OnInitDialog() override
    {
        page_.setData(&data_);
        page_.Create(IDD_STANDARDS_MAPPING, this);
        page_.ShowWindow(SW_SHOW);
        return true;
    }
    void OnOK() override
    {
        page_.store();
        EndDialog(IDOK);
    }

private:
    TabMappingData& data_;
    ZxMappingPage page_;
};

void defineMapping(CLI::App& command, Run& run)
{
    struct Args
    {
        std::string sheet;
        std::string macro;
    };
    auto args = std::make_shared<Args>();
    command
        .add_option("SHEET", args->sheet, "Standards sheet (a name in the library's Connection Standards)")
        ->required();
    command.add_option("--macro", args->macro, "Macro file (JSON); OK writes its sheet list back")
        ->required();
    command.callback(
        [args, &run]
        {
            run = [args]
            {
                Kdr_DbMacro macro;
                MacroData macroData;
                return editRecord(
                    [&](std::string& error) { return loadMacroJson(args->macro, macro, macroData, error); },
                    [&]
                    {
                        auto& targets = macro.standardsTargets();
                        if (std::none_of(targets.begin(), targets.end(),
                                         [&](const Kdr_StandardsTarget& t)
                                         { return t.sheet.equal(args->sheet, false); }))
                            targets.insert(targets.begin(), Kdr_StandardsTarget{args->sheet, ""});
                        AcTransaction transaction;
                        ZxSSMapping catalogue;
                        catalogue.initAllVarsFromMacro(&macro, &transaction);
                        TabMappingData data;
                        data.initFromMacro(macro);
                        data.setCatalogue(&catalogue);

                        ModuleResourceScope resources;
                        MappingWindow::registerTemplate();
                        MappingWindow window(data);
                        if (window.DoModal() != IDOK)
                            return false;
                        data.applyToMacro(macro);
                        return true;
                    },
                    [&](std::string& error) { return saveMacroJson(args->macro, macro, macroData, error); });
            };
        });
}

// ---- sheet FILE, formulas ------------------------------------------------------------------

/// The formula dialog of the program. Without a sheet file it offers an empty grid of
/// columns A to Z and 100 rows to try formulas on; the module's dialog starts with none.
class FormulaWindow : public FormulaTestDialog
{
public:
    static constexpr int kEmptyColumns = 26;
    static constexpr int kEmptyRows = 100;

    explicit FormulaWindow(bool emptyGrid) : emptyGrid_(emptyGrid) {}

protected:
    bool OnInitDialog() override
    {
        const bool result = FormulaTestDialog::OnInitDialog();
        if (emptyGrid_)
        {
            spread().setMaxCols(kEmptyColumns, false);
            spread().setMaxRows(kEmptyRows, false);
        }
        return result;
    }

private:
    bool emptyGrid_;
};

/// The formula dialog, on a sheet file or on an empty grid. F3 and F5 find and replace in it.
int runFormulaDialog(const std::string& file)
{
    if (!file.empty() && !fs::is_regular_file(file))
    {
        reportError("cannot read " + file + ": no such file");
        return kBadInput;
    }
    ModuleResourceScope resources;
    FormulaWindow dialog(file.empty());
    if (!file.empty())
        dialog.setInitialFile(absolute(file));
    dialog.DoModal();
    return kSuccess;
}

void defineSheet(CLI::App& command, Run& run)
{
    auto file = std::make_shared<std::string>();
    command.add_option("FILE", *file, "Sheet file (.zxs, .csv, .xlsx, .ods)")->required();
    command.callback([file, &run] { run = [file] { return runFormulaDialog(*file); }; });
}

void defineFormulas(CLI::App& command, Run& run)
{
    command.callback([&run] { run = [] { return runFormulaDialog({}); }; });
}

// ---- strings FILE.csv ----------------------------------------------------------------------

void defineStrings(CLI::App& command, Run& run)
{
    auto file = std::make_shared<std::string>();
    command
        .add_option("FILE", *file,
                    "CSV file: the first record holds the column captions, every other record a row; OK "
                    "saves the rows back")
        ->required();
    command.callback(
        [file, &run]
        {
            run = [file]
            {
                std::string text;
                grid::FileError readError;
                std::vector<std::vector<std::string>> records;
                if (!grid::readFileText(*file, text, readError) ||
                    !grid::readCsvRecords(text, records, readError) || records.empty())
                {
                    reportError(*file + (readError.line > 0 ? ":" + std::to_string(readError.line) : "") +
                                ": " +
                                (readError.message.empty() ? "no column captions" : readError.message));
                    return kBadInput;
                }
                Kdr_StringArray captions;
                for (const std::string& caption : records.front())
                    captions.append(caption);
                Kdr_Array<Kdr_StringArray> rows;
                for (std::size_t i = 1; i < records.size(); ++i)
                {
                    Kdr_StringArray row;
                    for (const std::string& cell : records[i])
                        row.append(cell);
                    rows.append(row);
                }
                if (!startGridDialog(captions, {}, rows, true, "", fs::path(*file).filename().string()))
                    return kSuccess;
                rows.insertAt(0, captions);
                std::string error;
                if (!grid::writeFileAtomically(*file, cli::formatCsv(rows, ','), error))
                {
                    reportError(error);
                    return kFailed;
                }
                return kSuccess;
            };
        });
}
} // namespace

const std::vector<DialogCommand>& dialogCommands()
{
    static const std::vector<DialogCommand> commands = []
    {
        std::vector<DialogCommand> list = {
            {"stock", "The cutting-stock dialog: groups with their main, stock and purchase tables",
             defineStock},
            {"mapping", "The standards mapping page of a macro's settings", defineMapping},
            {"sheet", "A sheet in a grid, with find and replace (F3, F5)", defineSheet},
            {"strings", "The string table dialog on the rows of a CSV file", defineStrings},
            {"formulas", "The formula test dialog on an empty grid (columns A to Z, 100 rows)",
             defineFormulas},
        };
        addMacroCommands(list);
        addDesignerCommands(list);
        addLibraryCommands(list);
        return list;
    }();
    return commands;
}
} // namespace gui
