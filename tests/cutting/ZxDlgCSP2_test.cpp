// The cutting-stock dialog, driven as a user drives it: group combo, buttons, file dialogs
// answered by the script, OK and Cancel. The grids are read as the user sees them.

#include "cutting/ZxDlgCSP2.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/TempFolder.h"
#include "ui/Driver.h"
#include "ui/UiTestSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace
{
const std::string kSep = "\xBF";
const std::string kDashes(116, '-');

Kdr_StringArray row(std::initializer_list<Kdr_String> cells)
{
    return Kdr_StringArray(cells);
}

/// Two groups, each with a main row, a stock row and a purchase row; the second group's rows
/// come first in the tables, so the tables' order is not the groups' order.
DlgCSP2Data twoGroups()
{
    DlgCSP2Data data;
    data.groupIds = Kdr_Array<int>({4, 9});
    data.groupNames = {"HEA", "IPE"};
    data.main.columns = {"Profile", "Length", "Count"};
    data.main.rows =
        Kdr_Array<Kdr_StringArray>({row({"IPE 200", "4500", "2"}), row({"HEA 200", "3000", "4"})});
    data.main.rowGroups = Kdr_Array<int>({9, 4});
    data.stock.columns = {"Length", "Count", "Place"};
    data.stock.rows = Kdr_Array<Kdr_StringArray>({row({"12000", "3", "Hall 1"}), row({"6000", "1", "Yard"})});
    data.stock.rowGroups = Kdr_Array<int>({9, 4});
    data.purchase.columns = {"Length", "Price", ""};
    data.purchase.rows = Kdr_Array<Kdr_StringArray>({row({"15000", "410", ""})});
    data.purchase.rowGroups = Kdr_Array<int>({4});
    return data;
}

class CuttingStockDialog : public uitest::UiTest
{
protected:
    CuttingStockDialog() : previousLib_(gSettings.libDir()) { gSettings.setLibDir(lib_.path()); }
    ~CuttingStockDialog() override { gSettings.setLibDir(previousLib_); }

    std::string folder(const std::string& group) const { return lib_.path("Cutting Stock/" + group + "/"); }

    /// What grid `id` of the dialog shows: every row's cell texts.
    static std::vector<std::vector<std::string>> shown(ui::Driver& user, int id)
    {
        std::vector<std::vector<std::string>> rows;
        auto* spread = user.itemAs<Kdr_Spread>(id);
        if (!spread)
            return rows;
        for (int r = 1; r <= spread->getMaxRows(); ++r)
        {
            Kdr_StringArray texts;
            spread->getRowTexts(r, texts);
            rows.emplace_back(texts.begin(), texts.end());
        }
        return rows;
    }

    TempFolder lib_;
    Kdr_String previousLib_;
};

TEST_F(CuttingStockDialog, ShowsTheFirstGroupAndSwitchesGroupsKeepingEveryRow)
{
    DlgCSP2Data data = twoGroups();
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            EXPECT_EQ(user.window()->GetWindowText(), "Cutting stock");
                            EXPECT_EQ(user.selection(IDC_CSP2_GROUPS), 0);
                            EXPECT_EQ(shown(user, IDC_CSP2_MAIN_GRID),
                                      (std::vector<std::vector<std::string>>{{"HEA 200", "3000", "4"}}));
                            EXPECT_EQ(shown(user, IDC_CSP2_PURCHASE_GRID),
                                      (std::vector<std::vector<std::string>>{{"15000", "410", ""}}));
                            EXPECT_FALSE(user.isVisible(IDC_CSP2_ASK_NAMES))
                                << "full mode hides the check box";
                            user.choose(IDC_CSP2_GROUPS, "IPE");
                            EXPECT_EQ(shown(user, IDC_CSP2_STOCK_GRID),
                                      (std::vector<std::vector<std::string>>{{"12000", "3", "Hall 1"}}));
                            EXPECT_TRUE(shown(user, IDC_CSP2_PURCHASE_GRID).empty());
                            user.click(IDC_CSP2_ADD_STOCK_ROW);
                            EXPECT_EQ(shown(user, IDC_CSP2_STOCK_GRID).size(), 2u);
                            user.choose(IDC_CSP2_GROUPS, "HEA");
                            user.click(IDOK);
                        });
    ASSERT_TRUE(StartDlgCSP2(data));
    // The shown group's rows were taken back last, so they stand at the end of each table.
    EXPECT_EQ(data.stock.rowGroups, Kdr_Array<int>({9, 9, 4}));
    EXPECT_EQ(data.stock.rows[1], row({"", "", ""}));
    EXPECT_EQ(data.main.rows[1], row({"HEA 200", "3000", "4"}));
    EXPECT_EQ(data.groupNames, Kdr_StringArray({"HEA", "IPE"}));
}

TEST_F(CuttingStockDialog, GridsStayClearOfTheLabelsAtOpeningAndAfterResizing)
{
    DlgCSP2Data data = twoGroups();
    agent_.expectDialog(
        IDD_CUTTING_STOCK,
        [&](ui::Driver& user)
        {
            auto place = [&](int id)
            {
                ui::Rect rect = user.item(id)->GetWindowRect();
                user.window()->ScreenToClient(rect);
                return rect;
            };
            auto expectClear = [&](const char* when)
            {
                const ui::Rect main = place(IDC_CSP2_MAIN_GRID);
                EXPECT_LE(main.bottom, place(IDC_CSP2_MATERIAL_LABEL).top) << when;
                EXPECT_GE(main.top, place(IDC_CSP2_MAIN_LABEL).bottom) << when;
                for (int id : {IDC_CSP2_STOCK_GRID, IDC_CSP2_PURCHASE_GRID})
                {
                    EXPECT_GE(place(id).top, place(IDC_CSP2_STOCK_LABEL).bottom) << when;
                    EXPECT_LE(place(id).bottom, place(IDOK).top) << when;
                }
                EXPECT_LE(place(IDC_CSP2_STOCK_GRID).right, place(IDC_CSP2_PURCHASE_GRID).left) << when;
            };
            // The main grid lies where the template puts it: 7, 40 dialog units,
            // in line with the labels.
            EXPECT_EQ(place(IDC_CSP2_MAIN_GRID).left, place(IDC_CSP2_MAIN_LABEL).left);
            EXPECT_EQ(place(IDC_CSP2_MAIN_GRID).top, 65);
            expectClear("at opening");
            const ui::Rect outer = user.window()->GetWindowRect();
            user.resize(outer.Width() + 200, outer.Height() + 160);
            expectClear("after growing");
            user.resize(outer.Width(), outer.Height());
            expectClear("after shrinking back");
            user.click(IDCANCEL);
        });
    EXPECT_FALSE(StartDlgCSP2(data));
}

TEST_F(CuttingStockDialog, EditsReachTheRecordWhenTheGroupIsTakenBack)
{
    DlgCSP2Data data = twoGroups();
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            // HEA's stock: change a length, add a row and fill it, delete the
                            // main table's only row.
                            user.editCell(IDC_CSP2_STOCK_GRID, 1, 1, "6500");
                            user.click(IDC_CSP2_ADD_STOCK_ROW);
                            user.editCell(IDC_CSP2_STOCK_GRID, 1, 2, "3000");
                            user.pressKeyInGrid(IDC_CSP2_STOCK_GRID, VK_TAB);
                            user.typeInGrid(IDC_CSP2_STOCK_GRID, "5");
                            user.pressKeyInGrid(IDC_CSP2_STOCK_GRID, VK_RETURN);
                            user.clickCell(IDC_CSP2_MAIN_GRID, 2, 1);
                            user.click(IDC_CSP2_DELETE_MAIN_ROW);
                            EXPECT_TRUE(shown(user, IDC_CSP2_MAIN_GRID).empty());
                            user.choose(IDC_CSP2_GROUPS, "IPE");
                            user.click(IDOK);
                        });
    ASSERT_TRUE(StartDlgCSP2(data));
    EXPECT_EQ(cutting::groupRows(data.stock, 4),
              Kdr_Array<Kdr_StringArray>({row({"6500", "1", "Yard"}), row({"3000", "5", ""})}));
    EXPECT_EQ(cutting::groupRows(data.main, 4).length(), 0);
    EXPECT_EQ(cutting::groupRows(data.main, 9), Kdr_Array<Kdr_StringArray>({row({"IPE 200", "4500", "2"})}));
}

TEST_F(CuttingStockDialog, CancelAfterEditingLeavesTheRecordAsItWas)
{
    DlgCSP2Data data = twoGroups();
    const DlgCSP2Data before = data;
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            user.click(IDC_CSP2_ADD_MAIN_ROW);
                            user.click(IDC_CSP2_DELETE_GROUP);
                            user.click(IDCANCEL);
                        });
    EXPECT_FALSE(StartDlgCSP2(data));
    EXPECT_EQ(data, before);
}

TEST_F(CuttingStockDialog, AddsAndDeletesGroups)
{
    DlgCSP2Data data = twoGroups();
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            user.click(IDC_CSP2_ADD_GROUP);
                            EXPECT_EQ(user.text(IDC_CSP2_GROUPS), "S355");
                            EXPECT_TRUE(shown(user, IDC_CSP2_MAIN_GRID).empty());
                            user.click(IDC_CSP2_ADD_GROUP); // a name already taken, letter case ignored
                            user.click(IDC_CSP2_ADD_GROUP); // a name that leaves the folder
                            EXPECT_EQ(user.text(IDC_CSP2_GROUPS), "S355");
                            // Deleting the last of three groups selects the new last one.
                            user.click(IDC_CSP2_DELETE_GROUP);
                            EXPECT_EQ(user.text(IDC_CSP2_GROUPS), "IPE");
                            EXPECT_EQ(shown(user, IDC_CSP2_MAIN_GRID),
                                      (std::vector<std::vector<std::string>>{{"IPE 200", "4500", "2"}}));
                            user.click(IDC_CSP2_DELETE_GROUP);
                            user.click(IDC_CSP2_DELETE_GROUP);
                            // The only group gone: empty grids, and loads and saves do nothing.
                            EXPECT_TRUE(shown(user, IDC_CSP2_STOCK_GRID).empty());
                            user.click(IDC_CSP2_SAVE_STOCK);
                            user.click(IDOK);
                        });
    agent_.expectPrompt(Kdr_String("S355"))
        .expectPrompt(Kdr_String("hea"))
        .expectMessageBox("A group named \"hea\" exists already.", IDOK)
        .expectPrompt(Kdr_String("../x"))
        .expectMessageBox("A group name cannot hold the character '/'.", IDOK);
    ASSERT_TRUE(StartDlgCSP2(data));
    EXPECT_EQ(agent_.prompts().front().title, "New group");
    EXPECT_EQ(agent_.prompts().front().label, "Name of the new group:");
    EXPECT_EQ(data.groupIds.length(), 0);
    EXPECT_EQ(data.stock.rows.length(), 0);
    EXPECT_EQ(data.main.rows.length(), 0);
    EXPECT_FALSE(std::filesystem::exists(lib_.path("Cutting Stock")));
}

TEST_F(CuttingStockDialog, SavesAndLoadsFilesKeepingTheChosenLetterCase)
{
    DlgCSP2Data data = twoGroups();
    const std::string hea = folder("HEA");
    lib_.write("Cutting Stock/HEA/Three.buy", "5000" + kSep + "99" + kSep + "Supplier A\n");
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            user.click(IDC_CSP2_SAVE_STOCK);
                            user.click(IDC_CSP2_SAVE_STOCK);
                            user.click(IDC_CSP2_LOAD_PURCHASE);
                            EXPECT_EQ(shown(user, IDC_CSP2_PURCHASE_GRID),
                                      (std::vector<std::vector<std::string>>{{"5000", "99", "Supplier A"}}));
                            user.click(IDC_CSP2_LOAD_STOCK); // cancelled: nothing changes
                            user.click(IDOK);
                        });
    agent_.expectFileDialog(Kdr_String(hea + "MyStock"))
        .expectFileDialog(Kdr_String(hea + "Second.SHP"))
        .expectFileDialog(Kdr_String(hea + "Three.buy"))
        .expectFileDialog(std::nullopt);
    ASSERT_TRUE(StartDlgCSP2(data));
    EXPECT_EQ(lib_.read("Cutting Stock/HEA/MyStock.shp"), "6000" + kSep + "1" + kSep + "Yard\n");
    EXPECT_EQ(lib_.read("Cutting Stock/HEA/Second.SHP"), "6000" + kSep + "1" + kSep + "Yard\n");
    EXPECT_EQ(lib_.entryCount("Cutting Stock/HEA"), 3);
    EXPECT_EQ(cutting::groupRows(data.purchase, 4),
              Kdr_Array<Kdr_StringArray>({row({"5000", "99", "Supplier A"})}));

    const auto& dialogs = agent_.fileDialogs();
    ASSERT_EQ(dialogs.size(), 4u);
    EXPECT_EQ(dialogs[0].title, "Save to file");
    EXPECT_EQ(dialogs[0].fileName, hea + "Stock1.shp");
    EXPECT_EQ(dialogs[0].filter, "Stock lengths (*.shp)|*.shp||");
    EXPECT_EQ(dialogs[0].maxPathLength, 2048);
    EXPECT_FALSE(dialogs[0].open);
    EXPECT_EQ(dialogs[2].title, "Load from file");
    EXPECT_EQ(dialogs[2].fileName, hea + "Three.buy") << "the latest purchase file is proposed";
    EXPECT_TRUE(dialogs[2].open);
    EXPECT_EQ(dialogs[3].fileName, hea + "Second.SHP") << "the latest stock file is proposed";
}

/// Sets a file's modification time to a fixed moment.
void setFileTime(const std::string& path, std::time_t time)
{
    const timespec times[2] = {{time, 0}, {time, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

TEST_F(CuttingStockDialog, LoadsTheLatestFilesOfEveryGroupAndReportsThem)
{
    setenv("TZ", "UTC", 1);
    tzset();
    DlgCSP2Data data = twoGroups();
    lib_.write("Cutting Stock/HEA/Stock1.shp", "1000\n");
    lib_.write("Cutting Stock/HEA/Stock2.shp", "8000" + kSep + "2" + kSep + "Hall 2\n7000\n");
    setFileTime(lib_.path("Cutting Stock/HEA/Stock1.shp"), 1767225600); // 1 January 2026, 00:00
    setFileTime(lib_.path("Cutting Stock/HEA/Stock2.shp"), 1780407000); // 2 June 2026, 13:30
    lib_.write("Cutting Stock/IPE/Buy.buy", "16000" + kSep + "380\n");
    setFileTime(lib_.path("Cutting Stock/IPE/Buy.buy"), 1765292400); // 9 December 2025, 15:00
    agent_.expectDialog(
        IDD_CUTTING_STOCK,
        [&](ui::Driver& user)
        {
            EXPECT_EQ(user.text(IDC_CSP2_ALL_GROUPS), "Load latest files");
            user.click(IDC_CSP2_ALL_GROUPS);
            EXPECT_EQ(shown(user, IDC_CSP2_STOCK_GRID),
                      (std::vector<std::vector<std::string>>{{"8000", "2", "Hall 2"}, {"7000", "", ""}}));
            user.click(IDOK);
        });
    agent_.expectMessageBox(
        kDashes + "\n" +
            "Loaded stock file \"Stock2.shp\" for group \"HEA\" written on 02 June, 2026 (13:30)\n"
            "\n"
            "No purchase file found for group \"HEA\".\n" +
            kDashes + "\n" + "No stock file found for group \"IPE\".\n" + "\n" +
            "Loaded purchase file \"Buy.buy\" for group \"IPE\" written on 09 December, 2025 "
            "(15:00)\n" +
            kDashes,
        "Cutting stock files", IDOK);
    ASSERT_TRUE(StartDlgCSP2(data));
    // A group without a stock file keeps its rows; the loaded ones replace the group's rows.
    EXPECT_EQ(cutting::groupRows(data.stock, 9), Kdr_Array<Kdr_StringArray>({row({"12000", "3", "Hall 1"})}));
    EXPECT_EQ(cutting::groupRows(data.purchase, 9), Kdr_Array<Kdr_StringArray>({row({"16000", "380"})}));
    EXPECT_EQ(cutting::groupRows(data.stock, 4).length(), 2);
}

TEST_F(CuttingStockDialog, AFileThatCannotBeReadKeepsTheRowsAndSaysSo)
{
    DlgCSP2Data data = twoGroups();
    lib_.write("Cutting Stock/HEA/Stock1.shp", std::string(100, '9') + "\n");
    const std::uintmax_t previousLimit = host::setMaxReadFileSize(50);
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            user.click(IDC_CSP2_ALL_GROUPS);
                            EXPECT_EQ(shown(user, IDC_CSP2_STOCK_GRID),
                                      (std::vector<std::vector<std::string>>{{"6000", "1", "Yard"}}));
                            user.click(IDOK);
                        });
    agent_.expectMessageBox(
        kDashes + "\nCannot read \"Stock1.shp\" for group \"HEA\": File \"" + folder("HEA") +
            "Stock1.shp\" is larger than 50 bytes and was not read.\n\nNo purchase file found for group "
            "\"HEA\".\n" +
            kDashes +
            "\nNo stock file found for group \"IPE\".\n\nNo purchase file found for group \"IPE\".\n" +
            kDashes,
        IDOK);
    ASSERT_TRUE(StartDlgCSP2(data));
    host::setMaxReadFileSize(previousLimit);
    EXPECT_EQ(cutting::groupRows(data.stock, 4), Kdr_Array<Kdr_StringArray>({row({"6000", "1", "Yard"})}));
}

TEST_F(CuttingStockDialog, StockModeSavesEveryGroupUnderTheNextFreeNumber)
{
    DlgCSP2Data data = twoGroups();
    data.stockMode = true;
    lib_.write("Cutting Stock/IPE/Stock7.shp", "old\n");
    lib_.write("Cutting Stock/IPE/Stockpile.shp", "not numbered\n");
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            EXPECT_EQ(user.text(IDC_CSP2_ALL_GROUPS), "Save stock of all groups");
                            for (const int id :
                                 {IDC_CSP2_ADD_GROUP, IDC_CSP2_MAIN_GRID, IDC_CSP2_PURCHASE_GRID,
                                  IDC_CSP2_LOAD_PURCHASE, IDC_CSP2_ADD_MAIN_ROW})
                                EXPECT_FALSE(user.isEnabled(id)) << id;
                            EXPECT_TRUE(user.isEnabled(IDC_CSP2_STOCK_GRID));
                            EXPECT_TRUE(user.isVisible(IDC_CSP2_ASK_NAMES));
                            user.click(IDC_CSP2_ALL_GROUPS);
                            user.click(IDC_CSP2_ALL_GROUPS);
                            // With the check box each group's file is asked for.
                            user.setCheck(IDC_CSP2_ASK_NAMES, BST_CHECKED);
                            user.click(IDC_CSP2_ALL_GROUPS);
                            user.click(IDOK);
                        });
    agent_.expectFileDialog(std::nullopt).expectFileDialog(Kdr_String(folder("IPE") + "Chosen"));
    ASSERT_TRUE(StartDlgCSP2(data));
    EXPECT_EQ(lib_.read("Cutting Stock/HEA/Stock1.shp"), "6000" + kSep + "1" + kSep + "Yard\n");
    EXPECT_EQ(lib_.read("Cutting Stock/HEA/Stock2.shp"), "6000" + kSep + "1" + kSep + "Yard\n");
    EXPECT_EQ(lib_.read("Cutting Stock/IPE/Stock8.shp"), "12000" + kSep + "3" + kSep + "Hall 1\n");
    EXPECT_TRUE(std::filesystem::exists(lib_.path("Cutting Stock/IPE/Stock9.shp")));
    EXPECT_EQ(agent_.fileDialogs().at(0).fileName, folder("HEA") + "Stock3.shp");
    EXPECT_EQ(lib_.read("Cutting Stock/IPE/Chosen.shp"), "12000" + kSep + "3" + kSep + "Hall 1\n");
    EXPECT_FALSE(std::filesystem::exists(lib_.path("Cutting Stock/HEA/Stock3.shp")));
}

TEST_F(CuttingStockDialog, RefusesToSaveACellTheFileCannotKeep)
{
    DlgCSP2Data data = twoGroups();
    data.stock.rows[1] = row({"6000", "1", "Yard\nnorth"});
    agent_.expectDialog(IDD_CUTTING_STOCK,
                        [&](ui::Driver& user)
                        {
                            user.click(IDC_CSP2_SAVE_STOCK);
                            user.click(IDOK);
                        });
    agent_.expectFileDialog(Kdr_String(folder("HEA") + "Stock1.shp"));
    agent_.expectMessageBox(
        "Row 1 of group \"HEA\" holds a line break or the byte 0xBF, which the file cannot keep.", IDOK);
    ASSERT_TRUE(StartDlgCSP2(data));
    EXPECT_FALSE(std::filesystem::exists(lib_.path("Cutting Stock/HEA/Stock1.shp")));
}
} // namespace
