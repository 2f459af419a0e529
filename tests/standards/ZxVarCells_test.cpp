#include "MacroFixture.h"
#include "host/CommandLine.h"
#include "standards/StandardsTimers.h"
#include "standards/VariableMessages.h"
#include "standards/ZxVarCells.h"
#include "ui/ScriptedAgent.h"

namespace
{
using standards_test::MacroTest;

ZxVarCell cell(const char* name, ZxCellType type, ZxValueType valueType, const char* value = "")
{
    ZxVarCell c;
    c.name = name;
    c.cellType = type;
    c.valueType = valueType;
    c.value = value;
    return c;
}

Kdr_StringArray values(const ZxVarCells& cells)
{
    Kdr_StringArray list;
    for (int i = 0; i < cells.length(); ++i)
        list.append(cells[i].value);
    return list;
}
} // namespace

TEST(ZxVarCells, FindingRemovingAndCopying)
{
    ZxVarCells cells;
    cells.append(cell("Width", cellInput, valDouble, "1"));
    cells.append(cell("Count", cellOutput, valInt, "2"));
    cells.append(cell("width", cellLocal, valString, "3"));
    int index = -1;
    EXPECT_EQ(cells.findVarCell("WIDTH", index), Acad::eOk);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(cells.findVarCell("Nothing", index), Acad::eInvalidInput);

    cells.mapping().setMode(mapFile);
    host::CommandLineCapture capture;
    cells.removeAt(3);
    cells.removeAt(-1);
    EXPECT_EQ(capture.text(),
              "*Error* Invalid index passed to remove.\n*Error* Invalid index passed to remove.\n");
    EXPECT_EQ(cells.length(), 3);
    cells.removeAt(0);
    EXPECT_EQ(cells[0].name, "Count");
    EXPECT_EQ(cells.findVarCell("width", index), Acad::eOk);
    EXPECT_EQ(index, 1);

    cells.resetVarCells();
    EXPECT_EQ(cells.length(), 0);
    EXPECT_EQ(cells.mapping().mode(), mapFile);
}

TEST(ZxVarCells, SameInputIsOneSided)
{
    ZxVarCells a;
    a.append(cell("W", cellInput, valDouble, "150"));
    a.append(cell("Out", cellOutput, valDouble, "1"));
    ZxVarCells b = a;
    b.append(cell("H", cellInput, valDouble, "300"));
    b[1].value = "other output";
    EXPECT_TRUE(a.hasSameInput(b));
    EXPECT_FALSE(b.hasSameInput(a));
    EXPECT_TRUE(ZxVarCells().hasSameInput(a));

    ZxVarCells c = a;
    c[0].valueType = valInt;
    EXPECT_FALSE(a.hasSameInput(c));
    c = a;
    c[0].value = "151";
    EXPECT_FALSE(a.hasSameInput(c));
    c[0].name = "w";
    c[0].value = "150";
    EXPECT_TRUE(a.hasSameInput(c));
}

TEST(ZxVarCells, TheVariableMessageText)
{
    EXPECT_EQ(variableErrorText(true, "Gap", "EndPlate"),
              "The following Input variable couldn't be retrieved : \nGap\n"
              "Make sure the variable exists in the macro or module.\nSpreadsheet : EndPlate");
    EXPECT_EQ(variableErrorText(false, "Width", "C:/lib/Cleat.zxs"),
              "The following Output variable couldn't be set : \nWidth\n"
              "Make sure the variable exists in the macro or module.\nSpreadsheet : C:/lib/Cleat.zxs");
}

class FromMacro : public MacroTest
{
protected:
    void SetUp() override
    {
        MacroTest::SetUp();
        cells.append(cell("Gap", cellInput, valDouble, "old"));
        cells.append(cell("Missing", cellInput, valDouble, "old"));
        cells.append(cell("Width", cellOutput, valInt, "old"));
        cells.append(cell("Scratch", cellLocal, valDouble, "old"));
        library.writeFile("EndPlate.map", "Mapping version 1.0\n"
                                          "EP=Gap\x83Plate\x95"
                                          "Distance Gap\xBFWidth\x83Plate\x95"
                                          "Distance Width\n"
                                          "Other=Width\x83Plate\x95"
                                          "Distance Gap\n");
    }
    ZxVarCells cells;
};

TEST_F(FromMacro, FillsInputAndOutputCellsAndClearsLocals)
{
    standards_test::ErrorMessagesOff quiet;
    request.target = "EP";
    const int mappings = gInitMapping.count();
    const int fills = gInitFromMacro.count();
    ASSERT_EQ(cells.getFromMacro(request), Acad::eOk);
    EXPECT_EQ(values(cells), (Kdr_StringArray{"12", "old", "150", ""}));
    EXPECT_EQ(cells.mapping().mode(), mapFile);
    EXPECT_EQ(gInitMapping.count(), mappings + 1);
    EXPECT_EQ(gInitFromMacro.count(), fills + 1);
    EXPECT_FALSE(gInitMapping.isRunning() || gInitFromMacro.isRunning());

    cells[2].value = "175";
    EXPECT_EQ(cells.setToMacro(request), Acad::eOk);
    EXPECT_EQ(variable("Plate1", "Width"), "175");
    EXPECT_EQ(variable("Plate1", "Gap"), "10"); // Input cells are never written back
}

TEST_F(FromMacro, ReportsEachVariableThatCannotBeFetched)
{
    request.target = "EP";
    cells.append(cell("Lost", cellOutput, valString, "old"));
    {
        ui::ScriptedAgent agent;
        ui::UserAgentScope scope(agent);
        agent.setFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
        agent.expectMessageBox(variableErrorText(true, "Missing", "EndPlate"), IDOK);
        agent.expectMessageBox(variableErrorText(false, "Lost", "EndPlate"), IDOK);
        ASSERT_EQ(cells.getFromMacro(request), Acad::eOk);
        EXPECT_EQ(agent.pending(), 0u);
        ASSERT_EQ(agent.messageBoxes().size(), 2u);
        EXPECT_EQ(agent.messageBoxes()[0].flags, unsigned(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(values(cells), (Kdr_StringArray{"12", "old", "150", "", "old"}));

    // Switched off, the same run shows nothing.
    standards_test::ErrorMessagesOff quiet;
    ui::ScriptedAgent silent;
    ui::UserAgentScope scope(silent);
    silent.setFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
    EXPECT_EQ(cells.getFromMacro(request), Acad::eOk);
    EXPECT_TRUE(silent.messageBoxes().empty());
}

TEST_F(FromMacro, WorksOnAModuleGroupWithoutMapping)
{
    request.target = "Module.Plate";
    request.moduleGroup = "Plate";
    standards_test::ErrorMessagesOff quiet;
    ASSERT_EQ(cells.getFromMacro(request), Acad::eOk);
    EXPECT_EQ(values(cells), (Kdr_StringArray{"10", "old", "150", ""}));
    EXPECT_EQ(cells.mapping().mode(), mapModuleGroup);
}

TEST_F(FromMacro, WithoutAUsableMappingNothingChanges)
{
    const Kdr_StringArray before = values(cells);
    request.dbMacro = nullptr;
    EXPECT_EQ(cells.getFromMacro(request), Acad::eInvalidInput);
    EXPECT_FALSE(gInitMapping.isRunning());

    request.dbMacro = &macro;
    request.target = "NotInTheFile";
    EXPECT_EQ(cells.getFromMacro(request), Acad::eOk);
    EXPECT_EQ(values(cells), before);

    request.fileName = "NoSuchSheet";
    request.target = "EP";
    EXPECT_EQ(cells.getFromMacro(request), Acad::eOk);
    EXPECT_EQ(values(cells), before);
}

TEST_F(FromMacro, AFailedMappingLeavesNoBindingsFromAnEarlierRun)
{
    // A pooled sheet runs target "Other" (Width bound to Gap), then a target the file lacks:
    // the second run must not write through the first run's bindings.
    standards_test::ErrorMessagesOff quiet;
    request.target = "Other";
    ASSERT_EQ(cells.getFromMacro(request), Acad::eOk);
    request.target = "Gone";
    ASSERT_EQ(cells.getFromMacro(request), Acad::eOk);
    cells[2].value = "999";
    cells.setToMacro(request);
    EXPECT_EQ(variable("Plate1", "Gap"), "10");
    EXPECT_EQ(variable("Plate2", "Gap"), "12");
}

TEST_F(MacroTest, InitializeSetsUpAMainRun)
{
    ZxDlgStandardsData record;
    record.mode = ZxDlgStandardsData::kChildRun;
    record.genVarNames.append("gen_A");
    EXPECT_EQ(record.initialize(&macro, "EndPlate", "Module.Plate", nullptr), Acad::eInvalidInput);
    EXPECT_EQ(record.initialize(nullptr, "EndPlate", "Module.Plate", &data), Acad::eInvalidInput);
    EXPECT_EQ(record.mode, ZxDlgStandardsData::kChildRun);
    EXPECT_TRUE(record.fileName.isEmpty());

    ASSERT_EQ(record.initialize(&macro, "EndPlate", "Module.Plate", &data), Acad::eOk);
    EXPECT_EQ(record.mode, ZxDlgStandardsData::kMainRun);
    EXPECT_EQ(record.moduleGroup, "Plate");
    EXPECT_EQ(record.target, "Module.Plate");
    EXPECT_EQ(record.dbMacro, &macro);
    EXPECT_EQ(record.macroData, &data);
    EXPECT_EQ(record.genVarNames.length(), 1);

    ASSERT_EQ(record.initialize(&macro, "EndPlate", "EP", &data), Acad::eOk);
    EXPECT_TRUE(record.moduleGroup.isEmpty());
    ASSERT_EQ(record.initialize(&macro, "EndPlate", "module.Bolts", &data), Acad::eOk);
    EXPECT_EQ(record.moduleGroup, "Bolts");
}
