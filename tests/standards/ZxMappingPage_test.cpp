// The standards mapping page inside a stand-in of the macro settings window, used as a person
// uses it.

#include "frame/ModuleResources.h"
#include "host/AcTransaction.h"
#include "host/FileFunctions.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/SectionTables.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "standards/ZxMappingPage.h"
#include "ui/UiTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
namespace fs = std::filesystem;

constexpr int kSettingsWindow = 8141;

/// The macro settings window as far as the page needs one: the page, OK and Cancel.
class SettingsWindow : public ui::Dialog
{
public:
    explicit SettingsWindow(TabMappingData& data) : ui::Dialog(kSettingsWindow), data_(data) {}

    bool modified = false;

protected:
    bool OnInitDialog() override
    {
        page_.setData(&data_);
        return page_.Create(IDD_STANDARDS_MAPPING, this);
    }
    void OnOK() override
    {
        modified = page_.store();
        EndDialog(IDOK);
    }

private:
    TabMappingData& data_;
    ZxMappingPage page_;
};

void registerSettingsWindow()
{
    static const bool registered = []
    {
        ui::DialogTemplate window(kSettingsWindow, "Macro settings", 0, 0, 280, 280);
        window.defPushButton(IDOK, "OK", 160, 258, 50, 14).pushButton(IDCANCEL, "Cancel", 215, 258, 50, 14);
        moduleResources().addDialog(std::move(window));
        return true;
    }();
    (void)registered;
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Kdr_Spread& sheetList(ui::Driver& driver)
{
    return *driver.itemAs<Kdr_Spread>(IDC_MAPPING_SHEETS);
}

Kdr_Spread& variableGrid(ui::Driver& driver)
{
    return *driver.itemAs<Kdr_Spread>(IDC_SS_PLACEHOLDER);
}

/// Every row of a grid as "header|column 1|column 2…".
std::vector<std::string> rowsOf(const Kdr_Spread& grid)
{
    std::vector<std::string> rows;
    for (int row = 1; row <= grid.getMaxRows(); ++row)
    {
        Kdr_String text;
        grid.getCellText(Kdr_Spread::kHeaderIndex, row, text, ctkValue);
        std::string line = text;
        for (int col = 1; col <= grid.getMaxCols(); ++col)
        {
            grid.getCellText(col, row, text, ctkValue);
            line += "|" + text;
        }
        rows.push_back(line);
    }
    return rows;
}

/// The sheet list as "name|maps to" and the current row.
std::vector<std::string> listOf(ui::Driver& driver)
{
    std::vector<std::string> rows;
    for (const std::string& row : rowsOf(sheetList(driver)))
        rows.push_back(row.substr(row.find('|') + 1));
    return rows;
}

int currentRow(ui::Driver& driver)
{
    int col = 0, row = 0;
    return sheetList(driver).sheet().activeCell(col, row) ? row : 0;
}

class MappingPageTest : public uitest::UiTest
{
protected:
    void SetUp() override
    {
        registerSettingsWindow();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() / (std::string("kaldor-mapping-page-") + info->name());
        fs::remove_all(root_);
        fs::copy(KALDOR_SAMPLE_LIBRARY, root_, fs::copy_options::recursive);
        previousLib_ = gSettings.libDir();
        gSettings.setLibDir(root_.string());
        gSectionTables.reset();

        std::string error;
        ASSERT_TRUE(
            loadMacroJson(KALDOR_SAMPLE_LIBRARY "../macros/FinPlate-IPE240.json", macro_, macroData_, error))
            << error;
        catalogue_.initAllVarsFromMacro(&macro_, &transaction_);
        macro_.standardsTargets() = {{"FinPlate", "BeamWeb"}, {"EndPlate", "Module.FinPlate"}};
        data_.initFromMacro(macro_);
        data_.setCatalogue(&catalogue_);
        mapFile_ = readBytes(standards() / "FinPlate.map");
    }
    void TearDown() override
    {
        gSettings.setLibDir(previousLib_);
        gSectionTables.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path standards() const { return root_ / "Connection Standards"; }

    /// Opens the settings window, runs `script` on it and ends it with OK; true when the page
    /// reported a change.
    bool runPage(const std::function<void(ui::Driver&)>& script)
    {
        ModuleResourceScope resources;
        SettingsWindow window(data_);
        agent_.expectDialog(kSettingsWindow,
                            [&](ui::Driver& driver)
                            {
                                script(driver);
                                driver.click(IDOK);
                            });
        EXPECT_EQ(window.DoModal(), IDOK);
        return window.modified;
    }

    fs::path root_;
    Kdr_String previousLib_;
    Kdr_DbMacro macro_;
    MacroData macroData_;
    AcTransaction transaction_;
    ZxSSMapping catalogue_;
    TabMappingData data_;
    std::string mapFile_;
};
} // namespace

TEST_F(MappingPageTest, OpensWithTheSheetListAndTheFirstSheetsBindings)
{
    const bool modified = runPage(
        [](ui::Driver& driver)
        {
            EXPECT_EQ(driver.text(IDC_MAPPING_SHEETS_GROUP), "Add and edit standards-spreadsheets");
            EXPECT_EQ(driver.text(IDC_MAPPING_VARIABLES_GROUP),
                      "Choose how the Spreadsheet should be mapped to this macro");
            EXPECT_EQ(driver.text(IDC_MAPPING_ADD), "Add");
            EXPECT_EQ(driver.text(IDC_MAPPING_REMOVE), "Remove");
            EXPECT_EQ(driver.itemAs<CButtonST>(IDC_MAPPING_UP)->GetTooltipText(), "Move up");
            EXPECT_EQ(driver.itemAs<CButtonST>(IDC_MAPPING_DOWN)->GetTooltipText(), "Move down");

            Kdr_Spread& list = sheetList(driver);
            Kdr_StringArray captions;
            list.getColumnCaptions(captions);
            EXPECT_EQ(captions, Kdr_StringArray({"Spreadsheet", "Maps to"}));
            EXPECT_EQ(listOf(driver),
                      (std::vector<std::string>{"FinPlate|<Entire macro>", "EndPlate|FinPlate"}));
            EXPECT_EQ(list.sheet().cellType(1, 1).items, (std::vector<std::string>{"EndPlate", "FinPlate"}));
            EXPECT_EQ(list.sheet().cellType(2, 2).items,
                      (std::vector<std::string>{"<Entire macro>", "FinPlate", "FinBolts"}));
            EXPECT_EQ(currentRow(driver), 1);

            Kdr_Spread& variables = variableGrid(driver);
            Kdr_String corner;
            variables.getCellText(Kdr_Spread::kHeaderIndex, Kdr_Spread::kHeaderIndex, corner, ctkValue);
            EXPECT_EQ(corner, "Type");
            variables.getColumnCaptions(captions);
            EXPECT_EQ(captions, Kdr_StringArray({"Std Name", "Macro object"}));
            EXPECT_EQ(rowsOf(variables), (std::vector<std::string>{
                                             " ||",
                                             "Input||",
                                             "Tekst|BeamSection|Prof1.PrPlName",
                                             "Decim|BeamDepth|Prof1;0h",
                                             "Decim|BeamWeb|Prof1;2tw",
                                             "Decim|BoltDiameter|FinBolts.BoltsDiameter",
                                             "Decim|Clearance|gen_Clearance.GenVar",
                                             " ||",
                                             "Output||",
                                             "Decim|PlateThickness|FinPlate.Thickness",
                                             "Decim|PlateHeight|FinPlate.Height",
                                             "Decim|PlateWidth|FinPlate.Width",
                                             "Decim|Pitch|FinBolts.Pitch",
                                             "Decim|EndDistance|FinBolts.EndDistance",
                                             "Decim|BoltRows|FinBolts.Rows",
                                             "Tekst|NrBolts|FinBolts.Web.PatternNrBolts1",
                                             "Decim|Chamfer|FinPlate.Corner.CutChamferOffset1",
                                         }));
            EXPECT_EQ(
                variables.sheet().cellType(2, 3).items,
                (std::vector<std::string>{"FinBolts.Web.PatternNrBolts1", "Prof0.PrPlName",
                                          "Prof0.PrPlMaterial", "Prof1.PrPlName", "Prof1.PrPlMaterial"}));
        });
    EXPECT_FALSE(modified);
    EXPECT_EQ(data_.targets(), Kdr_StringArray({"BeamWeb", "Module.FinPlate"}));
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), mapFile_) << "unchanged bindings write nothing";
}

TEST_F(MappingPageTest, ColumnsFillBothGridsAsSoonAsThePageOpens)
{
    runPage(
        [](ui::Driver& driver)
        {
            auto widthOf = [](const Kdr_Spread& grid, int col)
            { return static_cast<int>(grid.sheet().columnWidth(col) + 0.5); };
            auto room = [](const Kdr_Spread& grid)
            { return grid.GetClientRect().Width() - grid.sheet().state().verticalScrollBarWidth; };

            const Kdr_Spread& list = sheetList(driver);
            EXPECT_NEAR(widthOf(list, 1), widthOf(list, 2), 1);
            EXPECT_NEAR(widthOf(list, 1) + widthOf(list, 2), room(list), 1);

            const Kdr_Spread& variables = variableGrid(driver);
            ASSERT_GT(variables.getMaxRows(), 0);
            EXPECT_NEAR(widthOf(variables, Kdr_Spread::kHeaderIndex) + widthOf(variables, 1) +
                            widthOf(variables, 2),
                        room(variables), 2);
            // Every type word and variable name shows whole; the choice lists get the rest.
            for (int row = 1; row <= variables.getMaxRows(); ++row)
                for (int col : {Kdr_Spread::kHeaderIndex, 1})
                {
                    double width = 0, height = 0;
                    if (variables.sheet().textExtent(col, row, width, height))
                    {
                        EXPECT_LE(width, variables.sheet().columnWidth(col))
                            << "row " << row << ", column " << col;
                    }
                }
            EXPECT_GT(widthOf(variables, 2), widthOf(variables, 1));
        });
}

TEST_F(MappingPageTest, MoveButtonsStopAtTheEndsOfTheList)
{
    const bool modified = runPage(
        [](ui::Driver& driver)
        {
            driver.click(IDC_MAPPING_UP);
            EXPECT_EQ(listOf(driver),
                      (std::vector<std::string>{"FinPlate|<Entire macro>", "EndPlate|FinPlate"}));
            EXPECT_EQ(currentRow(driver), 1);

            driver.click(IDC_MAPPING_DOWN);
            EXPECT_EQ(listOf(driver),
                      (std::vector<std::string>{"EndPlate|FinPlate", "FinPlate|<Entire macro>"}));
            EXPECT_EQ(currentRow(driver), 2) << "the moved sheet stays current";
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 17);

            driver.click(IDC_MAPPING_DOWN);
            EXPECT_EQ(currentRow(driver), 2);
            EXPECT_EQ(listOf(driver)[1], "FinPlate|<Entire macro>");

            driver.click(IDC_MAPPING_UP);
            driver.click(IDC_MAPPING_DOWN);
            driver.click(IDC_MAPPING_UP);
            EXPECT_EQ(currentRow(driver), 1);
        });
    EXPECT_TRUE(modified);
    EXPECT_EQ(data_.names(), Kdr_StringArray({"FinPlate", "EndPlate"}));
    EXPECT_EQ(data_.targets(), Kdr_StringArray({"BeamWeb", "Module.FinPlate"}));
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), mapFile_);
}

TEST_F(MappingPageTest, AddAndRemoveNeverLeaveTheList)
{
    const bool modified = runPage(
        [](ui::Driver& driver)
        {
            driver.click(IDC_MAPPING_DOWN);
            driver.click(IDC_MAPPING_ADD);
            EXPECT_EQ(listOf(driver), (std::vector<std::string>{"EndPlate|FinPlate", "|<Entire macro>",
                                                                "FinPlate|<Entire macro>"}));
            EXPECT_EQ(currentRow(driver), 2);
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 0) << "a row without a sheet shows no variables";

            for (int i = 0; i < 4; ++i)
                driver.click(IDC_MAPPING_REMOVE);
            EXPECT_TRUE(listOf(driver).empty());
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 0);

            driver.click(IDC_MAPPING_ADD);
            EXPECT_EQ(listOf(driver), (std::vector<std::string>{"|<Entire macro>"}));
        });
    EXPECT_TRUE(modified);
    EXPECT_EQ(data_.names(), Kdr_StringArray({""}));
    EXPECT_EQ(data_.targets(), Kdr_StringArray({""}));
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), mapFile_);
}

TEST_F(MappingPageTest, ASheetThatCannotBeShownGetsNoneOfThePreviousSheetsBindings)
{
    // Missing has no file at all; FinCopy is the fin plate under another name without a line
    // for its target. Removing the fin plate makes each of them the shown sheet in turn.
    fs::copy_file(standards() / "FinPlate.zxs", standards() / "FinCopy.zxs");
    data_.names() = {"FinPlate", "Missing", "FinCopy"};
    data_.targets() = {"BeamWeb", "", "Nowhere"};
    const bool modified = runPage(
        [](ui::Driver& driver)
        {
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 17);
            driver.click(IDC_MAPPING_REMOVE);
            EXPECT_EQ(listOf(driver)[0], "Missing|<Entire macro>");
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 0);

            driver.click(IDC_MAPPING_REMOVE);
            EXPECT_EQ(listOf(driver), (std::vector<std::string>{"FinCopy|<Entire macro>"}));
            const std::vector<std::string> rows = rowsOf(variableGrid(driver));
            ASSERT_EQ(rows.size(), 17u);
            EXPECT_EQ(rows[2], "Tekst|BeamSection|") << "nothing is preselected";
            EXPECT_EQ(rows[9], "Decim|PlateThickness|");
        });
    EXPECT_TRUE(modified);
    EXPECT_EQ(data_.targets(), Kdr_StringArray({"Nowhere"}));
    EXPECT_FALSE(fs::exists(standards() / "Missing.map"));
    EXPECT_FALSE(fs::exists(standards() / "FinCopy.map"));
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), mapFile_);
}

TEST_F(MappingPageTest, WithoutCatalogueThePageIsEmptyAndInert)
{
    data_.setCatalogue(nullptr);
    const bool modified = runPage(
        [](ui::Driver& driver)
        {
            EXPECT_EQ(sheetList(driver).getMaxRows(), 0);
            driver.click(IDC_MAPPING_ADD);
            driver.click(IDC_MAPPING_REMOVE);
            EXPECT_EQ(sheetList(driver).getMaxRows(), 0);
        });
    EXPECT_FALSE(modified);
    EXPECT_EQ(data_.names(), Kdr_StringArray({"FinPlate", "EndPlate"}));
}
TEST_F(MappingPageTest, BindingsChosenInTheGridAreStoredOnceUnderANewKey)
{
    std::string afterStore;
    const bool modified = runPage(
        [&](ui::Driver& driver)
        {
            // Three bindings changed on the fin plate, then another sheet chosen: the fin
            // plate's bindings go into a new line.
            EXPECT_TRUE(driver.chooseInComboCell(IDC_SS_PLACEHOLDER, 2, 12, "FinPlate.Height"));
            EXPECT_TRUE(driver.chooseInComboCell(IDC_SS_PLACEHOLDER, 2, 13, "FinBolts.EndDistance"));
            EXPECT_TRUE(driver.chooseInComboCell(IDC_SS_PLACEHOLDER, 2, 17, "FinPlate.Corner.CutOffset"));
            EXPECT_TRUE(driver.pressKeyInGrid(IDC_MAPPING_SHEETS, VK_DOWN));
            EXPECT_EQ(currentRow(driver), 2);
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 0) << "the end plate works on a module group";
            afterStore = readBytes(standards() / "FinPlate.map");

            // Back on the fin plate its new bindings are shown.
            EXPECT_TRUE(driver.clickCell(IDC_MAPPING_SHEETS, 1, 1));
            const std::vector<std::string> rows = rowsOf(variableGrid(driver));
            ASSERT_EQ(rows.size(), 17u);
            EXPECT_EQ(rows[11], "Decim|PlateWidth|FinPlate.Height");
            EXPECT_EQ(rows[12], "Decim|Pitch|FinBolts.EndDistance");
            EXPECT_EQ(rows[16], "Decim|Chamfer|FinPlate.Corner.CutOffset");
            EXPECT_EQ(rows[10], "Decim|PlateHeight|FinPlate.Height");
        });
    EXPECT_TRUE(modified);
    const Kdr_String key = data_.targets()[0];
    EXPECT_EQ(key.length(), 24);
    ASSERT_EQ(afterStore.compare(0, mapFile_.size(), mapFile_), 0) << "the old lines stay";
    EXPECT_EQ(afterStore.substr(mapFile_.size(), 25), key + "=");
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), afterStore)
        << "storing unchanged bindings writes nothing";
}

TEST_F(MappingPageTest, MapsToAndSheetChoicesAreReReadIntoTheRecord)
{
    const bool modified = runPage(
        [&](ui::Driver& driver)
        {
            // The fin plate on a module group shows no variables; back on the entire macro it
            // has no key until bindings are stored.
            EXPECT_TRUE(driver.chooseInComboCell(IDC_MAPPING_SHEETS, 2, 1, "FinBolts"));
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 0);
            EXPECT_TRUE(driver.chooseInComboCell(IDC_MAPPING_SHEETS, 2, 1, "<Entire macro>"));
            const std::vector<std::string> rows = rowsOf(variableGrid(driver));
            ASSERT_EQ(rows.size(), 17u);
            EXPECT_EQ(rows[2], "Tekst|BeamSection|");

            // Another sheet in the second row.
            EXPECT_TRUE(driver.chooseInComboCell(IDC_MAPPING_SHEETS, 2, 2, "<Entire macro>"));
            EXPECT_TRUE(driver.chooseInComboCell(IDC_MAPPING_SHEETS, 1, 2, "FinPlate"));
            EXPECT_EQ(listOf(driver),
                      (std::vector<std::string>{"FinPlate|<Entire macro>", "FinPlate|<Entire macro>"}));
        });
    EXPECT_TRUE(modified);
    EXPECT_EQ(data_.names(), Kdr_StringArray({"FinPlate", "FinPlate"}));
    EXPECT_EQ(data_.targets(), Kdr_StringArray({"", ""}));
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), mapFile_);
}

TEST_F(MappingPageTest, ChoosingAnotherSheetStartsFromItsOwnBindingsOnly)
{
    // Broken has no "Input" heading; FinCopy is the fin plate under another name, without a
    // mapping file.
    std::ofstream(standards() / "Broken.zxs") << "KALDOR-SHEET 1\nsize\t1\t1\ndata\t1\t1\tOutput\n";
    fs::copy_file(standards() / "FinPlate.zxs", standards() / "FinCopy.zxs");
    const bool modified = runPage(
        [&](ui::Driver& driver)
        {
            EXPECT_EQ(sheetList(driver).sheet().cellType(1, 1).items,
                      (std::vector<std::string>{"Broken", "EndPlate", "FinCopy", "FinPlate"}));
            EXPECT_TRUE(driver.chooseInComboCell(IDC_MAPPING_SHEETS, 1, 1, "Broken"));
            EXPECT_EQ(variableGrid(driver).getMaxRows(), 0) << "no row of the fin plate stays";

            EXPECT_TRUE(driver.chooseInComboCell(IDC_MAPPING_SHEETS, 1, 1, "FinCopy"));
            std::vector<std::string> rows = rowsOf(variableGrid(driver));
            ASSERT_EQ(rows.size(), 17u);
            for (int row : {2, 3, 9, 16})
                EXPECT_EQ(rows[row].back(), '|') << "nothing preselected: " << rows[row];
            EXPECT_TRUE(driver.chooseInComboCell(IDC_SS_PLACEHOLDER, 2, 10, "FinPlate.Thickness"));
        });
    EXPECT_TRUE(modified);
    EXPECT_FALSE(fs::exists(standards() / "Broken.map"));
    ASSERT_EQ(data_.names(), Kdr_StringArray({"FinCopy", "EndPlate"}));
    const Kdr_String key = data_.targets()[0];
    EXPECT_EQ(readBytes(standards() / "FinCopy.map"), "Mapping version 1.0\n" + key +
                                                          "=PlateThickness\x83"
                                                          "FinPlate\x95"
                                                          "Distance Thickness\n");
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), mapFile_);
}

TEST_F(MappingPageTest, AFailedWriteLeavesTheTargetAsItWas)
{
    const bool modified = runPage(
        [&](ui::Driver& driver)
        {
            EXPECT_TRUE(driver.chooseInComboCell(IDC_SS_PLACEHOLDER, 2, 12, "FinPlate.Height"));
            host::setWriteFailureForTesting(true);
        });
    host::setWriteFailureForTesting(false);
    EXPECT_FALSE(modified);
    EXPECT_EQ(data_.targets(), Kdr_StringArray({"BeamWeb", "Module.FinPlate"}))
        << "the macro must not point at a line that was never written";
    EXPECT_EQ(readBytes(standards() / "FinPlate.map"), mapFile_);
}
