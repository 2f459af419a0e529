// The section library dialog and the new-size dialog, driven as a user drives them: tabs,
// buttons, combos, grid cells and the questions they ask. What they leave in the library
// folder is compared with a golden copy.

#include "host/FileFunctions.h"
#include "host/MacroLangs.h"
#include "host/Settings.h"
#include "host/TempFolder.h"
#include "library/Kdr_DlgEditLibSections.h"
#include "library/Kdr_DlgEditLibSimple.h"
#include "ui/Driver.h"
#include "ui/UiTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace
{
namespace fs = std::filesystem;

using Rows = std::vector<std::vector<std::string>>;

/// Every file of a folder with its bytes, by name.
std::map<std::string, std::string> filesOf(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
    {
        std::string bytes;
        host::readFileBytes(entry.path().string(), bytes);
        files[entry.path().filename().string()] = bytes;
    }
    return files;
}

SectionGroup group(int id, const Kdr_StringArray& langs)
{
    SectionGroup g;
    g.setId(id);
    g.setLangs(langs);
    return g;
}

SectionType type(int groupId, const Kdr_String& table, const Kdr_StringArray& langs)
{
    SectionType t;
    t.setGroupId(groupId);
    t.setTableName(table);
    t.setLangs(langs);
    return t;
}

/// A copy of the sample library for each test.
class EditLibDialogs : public uitest::UiTest
{
protected:
    EditLibDialogs() : previousLib_(gSettings.libDir())
    {
        fs::copy(fs::path(KALDOR_TEST_DATA) / "../../samples/library/prof", lib_.path("prof"));
        gSettings.setLibDir(lib_.path());
        data_.groups.append(group(0, {"Rolled sections", "Gewalste profielen", "Walzprofile", "Laminés"}));
        data_.types.append(type(0, "IPE", {"IPE", "IPE", "IPE", "IPE"}));
    }
    ~EditLibDialogs() override
    {
        host::setWriteFailureForTesting(false);
        gSettings.setLibDir(previousLib_);
    }

    std::string prof() const { return lib_.path("prof"); }

    /// What grid `id` shows: every row's cell texts.
    static Rows shown(ui::Driver& user, int id)
    {
        Rows rows;
        auto* spread = user.itemAs<Kdr_Spread>(id);
        for (int r = 1; spread && r <= spread->getMaxRows(); ++r)
        {
            Kdr_StringArray texts;
            spread->getRowTexts(r, texts);
            rows.emplace_back(texts.begin(), texts.end());
        }
        return rows;
    }
    static std::vector<std::string> headers(ui::Driver& user, int id)
    {
        Kdr_StringArray captions;
        if (auto* spread = user.itemAs<Kdr_Spread>(id))
            spread->getColumnCaptions(captions);
        return {captions.begin(), captions.end()};
    }
    static Kdr_ProfValuesTable readTable(const Kdr_String& name)
    {
        Kdr_ProfValuesTable table;
        EXPECT_TRUE(table.readFromFile(name)) << name;
        return table;
    }

    TempFolder lib_;
    Kdr_String previousLib_;
    DlgEditLibData data_;
};

TEST_F(EditLibDialogs, EditingTheLibraryByHandLeavesTheGoldenFolder)
{
    agent_.expectDialog(
        IDD_EDITLIB_SECTIONS,
        [&](ui::Driver& user)
        {
            EXPECT_EQ(user.window()->GetWindowText(), "Section library");
            EXPECT_EQ(user.selection(IDC_EDITLIB_TABS), 0) << "no start name: the groups page";
            EXPECT_EQ(user.text(IDC_LIB_GROUPS), "Rolled sections");

            // A group: new, named in two languages, with an image.
            user.click(IDC_LIB_NEW);
            EXPECT_EQ(user.text(IDC_LIB_GROUPS), "New group");
            user.editCell(IDC_LIB_NAMES, 1, 1, "Welded sections");
            user.editCell(IDC_LIB_NAMES, 1, 2, "Gelaste profielen");
            user.type(IDC_LIB_IMAGE, "welded.bmp");
            user.click(IDC_LIB_UP);
            EXPECT_EQ(user.text(IDC_LIB_GROUPS), "Welded sections") << "the list shows the written-back name";

            // A type under that group, on a table still to be made.
            user.selectTab(IDC_EDITLIB_TABS, 1);
            user.click(IDC_LIB_NEW);
            EXPECT_EQ(user.text(IDC_LIB_TYPES), "New type");
            user.choose(IDC_LIB_TYPE_GROUP, "Welded sections");
            user.type(IDC_LIB_TYPE_TABLE, "WI");
            user.editCell(IDC_LIB_NAMES, 1, 1, "Welded I");
            user.setCheck(IDC_LIB_ENABLED, BST_UNCHECKED);

            // A table like IPE: new, the I shape's columns, one size, renamed to WI.
            user.selectTab(IDC_EDITLIB_TABS, 2);
            EXPECT_EQ(user.text(IDC_TABLES_LIST), "HEA");
            user.click(IDC_TABLES_NEW);
            EXPECT_EQ(user.text(IDC_TABLES_LIST), "New table");
            EXPECT_EQ(headers(user, IDC_TABLES_GRID),
                      (std::vector<std::string>{"SysName", "I/O", "English", "Dutch", "German", "French",
                                                "Value1", "Value2"}));
            user.choose(IDC_TABLES_PICTURE, "<I section>");
            EXPECT_EQ(headers(user, IDC_TABLES_GRID),
                      (std::vector<std::string>{"SysName", "I/O", "English", "Dutch", "German", "French", "h",
                                                "b", "tw", "tf", "r", "G"}));
            const char* cells[] = {"400", nullptr, "WI 400", "WI 400", "WI 400", "WI 400",
                                   "400", "200",   "8",      "13",     "21",     "70.2"};
            for (int col = 1; col <= 12; ++col)
                if (cells[col - 1])
                    user.editCell(IDC_TABLES_GRID, col, 1, cells[col - 1]);
            user.click(IDC_TABLES_RENAME);
            EXPECT_EQ(user.text(IDC_TABLES_LIST), "WI");

            // HEB goes; HEA gets its first two sizes swapped and is saved on leaving it.
            user.choose(IDC_TABLES_LIST, "HEB");
            user.click(IDC_TABLES_DELETE);
            EXPECT_EQ(user.text(IDC_TABLES_LIST), "HEA");
            user.clickCell(IDC_TABLES_GRID, 1, 2);
            user.click(IDC_TABLES_ROW_UP);
            EXPECT_EQ(shown(user, IDC_TABLES_GRID)[0][0], "120");
            user.choose(IDC_TABLES_LIST, "IPE");
            user.click(IDOK);
        });
    agent_.expectPrompt(Kdr_String("WI"))
        .expectMessageBox("Delete table <HEB> and its file?", "Delete table", IDYES)
        .expectMessageBox("Save the changes of table <HEA> first?", "Unsaved changes", IDYES);
    ASSERT_TRUE(StartDlgEditLibSections(data_, ""));
    EXPECT_EQ(agent_.prompts().front().title, "Rename table");
    EXPECT_EQ(agent_.prompts().front().label, "New name:");
    EXPECT_EQ(agent_.prompts().front().value, "New table");

    ASSERT_EQ(data_.groups.length(), 2);
    EXPECT_EQ(data_.groups[0].getLangs(),
              Kdr_StringArray({"Welded sections", "Gelaste profielen", "New group", "New group"}));
    EXPECT_EQ(data_.groups[0].getImage(), "welded.bmp");
    EXPECT_EQ(data_.groups[0].getId(), 1);
    ASSERT_EQ(data_.types.length(), 2);
    EXPECT_EQ(data_.types[1].getGroupId(), 1);
    EXPECT_EQ(data_.types[1].getTableName(), "WI");
    EXPECT_FALSE(data_.types[1].getEnabled());
    EXPECT_EQ(data_.types[1].getName(), "Welded I");
    EXPECT_EQ(data_.tableNames, Kdr_StringArray({"HEA", "IPE", "L", "UPN", "WI"}));

    // A size through the new-size dialog: IPE 210 from IPE 200.
    Kdr_ProfValuesTable ipe = readTable("IPE");
    int newIndex = -1;
    agent_.expectDialog(IDD_EDITLIB_SIMPLE,
                        [&](ui::Driver& user)
                        {
                            EXPECT_EQ(user.window()->GetWindowText(), "New size");
                            EXPECT_EQ(user.text(simplePropertyLabel(1)), "A. h:");
                            EXPECT_EQ(user.text(simplePropertyLabel(6)), "F. G:");
                            EXPECT_FALSE(user.isVisible(simplePropertyEdit(7)));
                            EXPECT_FALSE(user.isEnabled(IDC_SIMPLE_NAME));
                            user.type(simplePropertyEdit(1), "210");
                            EXPECT_EQ(user.text(IDC_SIMPLE_NAME), "IPE 210");
                            user.type(simplePropertyEdit(2), "105");
                            user.type(simplePropertyEdit(6), "22.4");
                            user.click(IDOK);
                        });
    ASSERT_TRUE(StartDlgEditLibSimple("200", ipe, newIndex));
    EXPECT_EQ(newIndex, 7);
    ASSERT_TRUE(ipe.writeToFile("IPE"));

    EXPECT_EQ(filesOf(prof()), filesOf(fs::path(KALDOR_TEST_DATA) / "library/edit-lib/prof"));
}

TEST_F(EditLibDialogs, AStartNameOpensItsTableAndSizeAndTheRowCommandsReorderIt)
{
    agent_.expectDialog(IDD_EDITLIB_SECTIONS,
                        [&](ui::Driver& user)
                        {
                            EXPECT_EQ(user.selection(IDC_EDITLIB_TABS), 2);
                            EXPECT_EQ(user.text(IDC_TABLES_LIST), "UPN");
                            EXPECT_EQ(user.text(IDC_TABLES_PICTURE), "<Cold-formed channel>");
                            auto* grid = user.itemAs<Kdr_Spread>(IDC_TABLES_GRID);
                            int col = 0, row = 0;
                            ASSERT_TRUE(grid->sheet().activeCell(col, row));
                            EXPECT_EQ(row, 3) << "UPN 80 is the third size";
                            user.click(IDC_TABLES_ROW_DOWN);
                            user.click(IDC_TABLES_ROW_DOWN);
                            EXPECT_EQ(shown(user, IDC_TABLES_GRID)[4][0], "80");
                            // Sorting by the system names puts 80 back between 65 and 100.
                            user.clickCell(IDC_TABLES_GRID, 1, 1);
                            user.click(IDC_TABLES_SORT);
                            EXPECT_EQ(shown(user, IDC_TABLES_GRID)[2][0], "80");
                            // Sorting by the mass column: the lightest first.
                            user.clickCell(IDC_TABLES_GRID, 12, 1);
                            user.click(IDC_TABLES_SORT);
                            EXPECT_EQ(shown(user, IDC_TABLES_GRID)[0][11], "5.59");
                            user.clickCell(IDC_TABLES_GRID, 1, 1);
                            user.click(IDC_TABLES_INSERT_ROW);
                            EXPECT_EQ(shown(user, IDC_TABLES_GRID).size(), 19u);
                            EXPECT_EQ(shown(user, IDC_TABLES_GRID)[1][0], "");
                            user.clickCell(IDC_TABLES_GRID, 1, 2);
                            user.click(IDC_TABLES_DELETE_ROW);
                            EXPECT_EQ(shown(user, IDC_TABLES_GRID)[1][0], "65") << "the inserted row went";
                            user.click(IDCANCEL);
                        });
    EXPECT_FALSE(StartDlgEditLibSections(data_, "upn-80"));
    EXPECT_EQ(readTable("UPN").rowCount(), 18) << "Cancel saves nothing";
}

TEST_F(EditLibDialogs, ShrinkingThePictureAsksAboutTheSurplusColumns)
{
    agent_.expectDialog(IDD_EDITLIB_SECTIONS,
                        [&](ui::Driver& user)
                        {
                            user.choose(IDC_TABLES_PICTURE, "<Round bar>");
                            EXPECT_EQ(headers(user, IDC_TABLES_GRID).size(), 12u) << "No keeps them";
                            user.choose(IDC_TABLES_PICTURE, "<Rectangular tube>");
                            EXPECT_EQ(
                                headers(user, IDC_TABLES_GRID),
                                (std::vector<std::string>{"SysName", "I/O", "English", "Dutch", "German",
                                                          "French", "h", "b", "t", "r", "G"}));
                            user.click(IDC_TABLES_RENEW);
                            user.click(IDOK);
                        });
    agent_
        .expectMessageBox("The picture <Round bar> has fewer properties than the table has columns.\n"
                          "Remove the surplus columns?",
                          "Surplus columns", IDNO)
        .expectMessageBox("The picture <Rectangular tube> has fewer properties than the table has columns.\n"
                          "Remove the surplus columns?",
                          "Surplus columns", IDYES)
        .expectMessageBox("Save the changes of table <IPE> first?", "Unsaved changes", IDYES);
    ASSERT_TRUE(StartDlgEditLibSections(data_, "IPE-80"));
    const Kdr_ProfValuesTable ipe = readTable("IPE");
    EXPECT_EQ(ipe.picture(), "10");
    EXPECT_EQ(ipe.columnNames().length(), 11);
    EXPECT_EQ(ipe.rows()[0].length(), 11);
}

TEST_F(EditLibDialogs, RenamingRefusesBadNamesAndNeverLosesTheTable)
{
    const std::string ipe = lib_.read("prof/IPE.pr");
    agent_.expectDialog(IDD_EDITLIB_SECTIONS,
                        [&](ui::Driver& user)
                        {
                            for (int i = 0; i < 4; ++i)
                                user.click(IDC_TABLES_RENAME);
                            // A full disk: the new file is not written, so the old one stays.
                            host::setWriteFailureForTesting(true);
                            user.click(IDC_TABLES_RENAME);
                            host::setWriteFailureForTesting(false);
                            EXPECT_EQ(user.text(IDC_TABLES_LIST), "IPE");
                            user.click(IDOK);
                        });
    agent_.expectPrompt(Kdr_String("../x"))
        .expectMessageBox("A table name cannot hold the character '/'.", IDOK)
        .expectPrompt(Kdr_String("hea"))
        .expectMessageBox("A table named \"hea\" exists already.", IDOK)
        .expectPrompt(Kdr_String(""))
        .expectMessageBox("A table needs a name.", IDOK)
        .expectPrompt(Kdr_String(".."))
        .expectMessageBox("\"..\" cannot name a table.", IDOK)
        .expectPrompt(Kdr_String("IPE2"))
        .expectMessageBox("Table \"IPE\" could not be saved as \"IPE2\"; it keeps its name.", IDOK);
    ASSERT_TRUE(StartDlgEditLibSections(data_, "IPE-100"));
    EXPECT_EQ(lib_.read("prof/IPE.pr"), ipe);
    EXPECT_EQ(data_.tableNames, Kdr_StringArray({"HEA", "HEB", "IPE", "L", "UPN"}));
    EXPECT_EQ(filesOf(prof()).size(), 5u) << "nothing written outside or beside the tables";
    EXPECT_FALSE(fs::exists(lib_.path("x.pr")));
}

TEST_F(EditLibDialogs, AFailedSaveStopsWhateverWasToFollow)
{
    agent_.expectDialog(IDD_EDITLIB_SECTIONS,
                        [&](ui::Driver& user)
                        {
                            user.editCell(IDC_TABLES_GRID, 7, 1, "97");
                            host::setWriteFailureForTesting(true);
                            user.choose(IDC_TABLES_LIST, "IPE");
                            EXPECT_EQ(user.text(IDC_TABLES_LIST), "HEA") << "the edited table stays shown";
                            EXPECT_EQ(shown(user, IDC_TABLES_GRID)[0][6], "97");
                            user.click(IDC_TABLES_NEW);
                            user.click(IDOK);
                            EXPECT_FALSE(user.dialog()->hasEnded()) << "OK waits for a save that worked";
                            host::setWriteFailureForTesting(false);
                            user.click(IDOK);
                        });
    const char* const question = "Save the changes of table <HEA> first?";
    const char* const failure = "Table \"HEA\" could not be saved.";
    agent_.expectMessageBox(question, IDYES)
        .expectMessageBox(failure, "Section library", IDOK)
        .expectMessageBox(question, IDYES)
        .expectMessageBox(failure, IDOK)
        .expectMessageBox(question, IDYES)
        .expectMessageBox(failure, IDOK)
        .expectMessageBox(question, IDYES);
    ASSERT_TRUE(StartDlgEditLibSections(data_, "HEA-100"));
    EXPECT_EQ(readTable("HEA").rows()[0][6], "97");
    EXPECT_EQ(data_.tableNames.length(), 5) << "no new table was made";
}

TEST_F(EditLibDialogs, AnEmptyTableListShowsAnEmptyGridAndOnlyNewTable)
{
    fs::remove_all(prof());
    fs::create_directories(prof());
    agent_.expectDialog(IDD_EDITLIB_SECTIONS,
                        [&](ui::Driver& user)
                        {
                            EXPECT_EQ(user.selection(IDC_EDITLIB_TABS), 2);
                            EXPECT_TRUE(shown(user, IDC_TABLES_GRID).empty());
                            for (const int id : {IDC_TABLES_DELETE, IDC_TABLES_RENAME, IDC_TABLES_RENEW,
                                                 IDC_TABLES_INSERT_ROW, IDC_TABLES_SORT, IDC_TABLES_PICTURE})
                                EXPECT_FALSE(user.isEnabled(id)) << id;
                            user.click(IDC_TABLES_NEW);
                            EXPECT_TRUE(user.isEnabled(IDC_TABLES_RENAME));
                            user.click(IDC_TABLES_NEW);
                            EXPECT_EQ(user.text(IDC_TABLES_LIST), "New table_1");
                            user.click(IDOK);
                        });
    agent_.expectMessageBox("Save the changes of table <New table> first?", IDNO)
        .expectMessageBox("Save the changes of table <New table_1> first?", IDYES);
    ASSERT_TRUE(StartDlgEditLibSections(data_, "IPE-100"));
    EXPECT_EQ(filesOf(prof()).size(), 1u);
    const Kdr_ProfValuesTable table = readTable("New table_1");
    EXPECT_EQ(table.rows(), Kdr_Array<Kdr_StringArray>({{"", "1", "", "", "", "", "0", "0"}}));
}

TEST_F(EditLibDialogs, TheNewSizeDialogChecksTheNameAndTheTubeRadiusBeforeAdding)
{
    Kdr_ProfValuesTable tubes;
    tubes.setName("RHS");
    tubes.setPicture("10");
    tubes.setColumnNames({"SysName", "I/O", "English", "Dutch", "German", "French", "h", "b", "t", "r", "G"});
    tubes.setRows(Kdr_Array<Kdr_StringArray>({{"100x50x5", "1", "RHS 100x50x5", "K 100x50x5", "RHS 100x50x5",
                                               "RHS 100x50x5", "100", "50", "5", "7.5", "10.8"},
                                              {"120x60x5", "0", "RHS 120x60x5", "K 120x60x5", "RHS 120x60x5",
                                               "RHS 120x60x5", "120", "60", "5", "7.5", "13.1"}}));
    int newIndex = -1;
    agent_.expectDialog(IDD_EDITLIB_SIMPLE,
                        [&](ui::Driver& user)
                        {
                            EXPECT_EQ(user.text(IDC_SIMPLE_NAME), "RHS 120x60x5");
                            EXPECT_EQ(user.check(IDC_SIMPLE_ACTIVE), BST_UNCHECKED);
                            user.type(simplePropertyEdit(2), "60");
                            EXPECT_EQ(user.text(IDC_SIMPLE_NAME), "RHS 120x60x5");
                            user.click(IDOK); // the name is taken
                            user.type(simplePropertyEdit(1), "110");
                            user.type(simplePropertyEdit(4), "5"); // radius equal to the thickness
                            user.click(IDOK);
                            user.type(simplePropertyEdit(4), "0");
                            user.click(IDC_SIMPLE_OWN_NAME);
                            user.type(IDC_SIMPLE_NAME, "");
                            user.click(IDOK); // no name
                            user.click(IDC_SIMPLE_AUTOMATIC);
                            user.click(IDOK);
                        });
    agent_.expectMessageBox("Table \"RHS\" holds a size named \"120x60x5\" already.", "Invalid value", IDOK)
        .expectMessageBox("The fourth property must be 0\nor greater than the third property.\n\n"
                          "Please correct the value.",
                          "Invalid value", IDOK)
        .expectMessageBox("The new size needs a name.", IDOK);
    ASSERT_TRUE(StartDlgEditLibSimple("120x60x5", tubes, newIndex));
    ASSERT_EQ(tubes.rowCount(), 3);
    EXPECT_EQ(tubes.rows()[1], Kdr_StringArray({"110x60x5", "1", "RHS 110x60x5", "K 110x60x5", "RHS 110x60x5",
                                                "RHS 110x60x5", "110", "60", "5", "0", "13.1"}));
    EXPECT_EQ(newIndex, 1);

    Kdr_ProfValuesTable empty = tubes;
    empty.setRows({});
    EXPECT_FALSE(StartDlgEditLibSimple("", empty, newIndex)) << "no size to start from, and no dialog";
}
} // namespace
