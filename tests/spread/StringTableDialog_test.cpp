// The string table dialog as the host uses it: a table of texts in, the user's changes made
// with clicks and keys, the rows back on OK and untouched otherwise.

#include "../ui/UiTestSupport.h"
#include "spread/Kdr_DlgStringTable.h"
#include "ui/DialogSizes.h"
#include "ui/Driver.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kTableGrid = IDC_STRING_TABLE_GRID;
constexpr int kAdd = IDC_STRING_TABLE_ADD_ROW;
constexpr int kRemove = IDC_STRING_TABLE_REMOVE_ROW;

Kdr_StringArray texts(std::initializer_list<const char*> items)
{
    Kdr_StringArray out;
    for (const char* item : items)
        out.append(item);
    return out;
}

std::vector<std::vector<std::string>> plain(const Kdr_Array<Kdr_StringArray>& rows)
{
    std::vector<std::vector<std::string>> out;
    for (const Kdr_StringArray& row : rows)
        out.emplace_back(row.begin(), row.end());
    return out;
}

class StringTableTest : public uitest::UiTest
{
protected:
    bool run(const std::function<void(ui::Driver&, Kdr_Spread&)>& script, bool editable = true,
             Kdr_String sizeKey = "", Kdr_StringArray rowCaptions = {})
    {
        agent_.expectDialog(IDD_STRING_TABLE,
                            [&](ui::Driver& user)
                            {
                                auto* grid = user.itemAs<Kdr_Spread>(kTableGrid);
                                ASSERT_NE(grid, nullptr);
                                script(user, *grid);
                            });
        return startGridDialog(columns, rowCaptions, rows, editable, sizeKey, "Bolt grades");
    }

    Kdr_StringArray columns = texts({"Grade", "Fy", "Fu"});
    Kdr_Array<Kdr_StringArray> rows;
};
} // namespace

TEST_F(StringTableTest, WithoutColumnCaptionsNothingIsShown)
{
    rows.append(texts({"8.8"}));
    // No dialog is expected: the agent would fail on one.
    EXPECT_FALSE(startGridDialog({}, {}, rows, true, "", "Empty"));
    EXPECT_EQ(plain(rows), (std::vector<std::vector<std::string>>{{"8.8"}}));
}

TEST_F(StringTableTest, OkGivesBackEveryRowWithOneTextPerColumn)
{
    rows.append(texts({"8.8", "640", "800"}));
    rows.append(texts({"10.9", "900"}));               // one text short: the last comes back empty
    rows.append(texts({"12.9", "1080", "1200", "x"})); // one too many: it has no cell
    EXPECT_TRUE(run(
        [&](ui::Driver& user, Kdr_Spread& grid)
        {
            EXPECT_EQ(user.window()->GetWindowText(), "Bolt grades");
            EXPECT_EQ(user.text(IDOK), "OK");
            EXPECT_EQ(user.text(IDCANCEL), "Cancel");
            EXPECT_EQ(user.text(kAdd), "Add");
            EXPECT_EQ(user.text(kRemove), "Remove");
            EXPECT_EQ(grid.getMaxCols(), 3);
            EXPECT_EQ(grid.getMaxRows(), 3);
            Kdr_String caption;
            grid.getCellText(2, Kdr_Spread::kHeaderIndex, caption, ctkData);
            EXPECT_EQ(caption, "Fy");
            user.click(IDOK);
        }));
    EXPECT_EQ(plain(rows), (std::vector<std::vector<std::string>>{
                               {"8.8", "640", "800"}, {"10.9", "900", ""}, {"12.9", "1080", "1200"}}));
}

TEST_F(StringTableTest, EditsAddedAndRemovedRowsComeBackOnOkOnly)
{
    rows.append(texts({"8.8", "640", "800"}));
    rows.append(texts({"10.9", "900", "1000"}));
    const Kdr_Array<Kdr_StringArray> before = rows;

    // Cancel after changes: the caller's rows stay as they were.
    EXPECT_FALSE(run(
        [&](ui::Driver& user, Kdr_Spread&)
        {
            user.editCell(kTableGrid, 1, 1, "4.6");
            user.click(kRemove);
            user.click(IDCANCEL);
        }));
    EXPECT_EQ(plain(rows), plain(before));

    EXPECT_TRUE(run(
        [&](ui::Driver& user, Kdr_Spread& grid)
        {
            // A row goes in below the active cell's row, and the active cell moves into it.
            user.clickCell(kTableGrid, 2, 1);
            user.click(kAdd);
            EXPECT_EQ(grid.getMaxRows(), 3);
            int col = 0, row = 0;
            ASSERT_TRUE(grid.sheet().activeCell(col, row));
            EXPECT_EQ(col, 2);
            EXPECT_EQ(row, 2);
            user.typeInGrid(kTableGrid, "320");
            user.pressKeyInGrid(kTableGrid, VK_RETURN);

            // Removing the last row keeps the active cell on the row that is now last.
            user.clickCell(kTableGrid, 3, 3);
            user.click(kRemove);
            EXPECT_EQ(grid.getMaxRows(), 2);
            ASSERT_TRUE(grid.sheet().activeCell(col, row));
            EXPECT_EQ(row, 2);
            EXPECT_EQ(col, 3);
            user.click(IDOK);
        }));
    EXPECT_EQ(plain(rows), (std::vector<std::vector<std::string>>{{"8.8", "640", "800"}, {"", "320", ""}}));
}

TEST_F(StringTableTest, RemovingInAnEmptyGridDoesNothing)
{
    EXPECT_TRUE(run(
        [&](ui::Driver& user, Kdr_Spread& grid)
        {
            user.click(kRemove);
            EXPECT_EQ(grid.getMaxRows(), 0);
            user.click(kAdd);
            EXPECT_EQ(grid.getMaxRows(), 1);
            user.click(IDOK);
        }));
    EXPECT_EQ(plain(rows), (std::vector<std::vector<std::string>>{{"", "", ""}}));
}

TEST_F(StringTableTest, ANotEditableTableHidesTheRowButtons)
{
    rows.append(texts({"8.8", "640", "800"}));
    EXPECT_TRUE(run(
        [&](ui::Driver& user, Kdr_Spread& grid)
        {
            EXPECT_FALSE(user.isVisible(kAdd));
            EXPECT_FALSE(user.isVisible(kRemove));
            user.editCell(kTableGrid, 3, 1, "830");
            EXPECT_EQ(grid.getMaxRows(), 1);
            user.click(IDOK);
        },
        false));
    EXPECT_EQ(plain(rows), (std::vector<std::vector<std::string>>{{"8.8", "640", "830"}}));
}

TEST_F(StringTableTest, TheSizeIsKeptUnderItsKeyAndCannotShrinkBelowTheFirst)
{
    ui::dialogSizes().erase("DLG_SS_STRINGARRAY");
    ui::dialogSizes().erase("DLG_GRADES");
    ui::Rect first;
    run(
        [&](ui::Driver& user, Kdr_Spread& grid)
        {
            first = user.window()->GetWindowRect();
            EXPECT_TRUE(grid.rowHeaderVisible());
            user.resize(first.Width() + 100, first.Height() + 50);
            user.resize(10, 10); // held to the size it opened with
            user.click(IDCANCEL);
        },
        true, "", texts({"first"}));
    ui::Rect stored;
    ASSERT_TRUE(ui::dialogSizes().find("DLG_SS_STRINGARRAY", stored));
    EXPECT_EQ(stored.Width(), first.Width());
    EXPECT_EQ(stored.Height(), first.Height());

    run(
        [&](ui::Driver& user, Kdr_Spread& grid)
        {
            EXPECT_FALSE(grid.rowHeaderVisible());
            user.resize(first.Width() + 40, first.Height() + 20);
            user.click(IDOK);
        },
        true, "DLG_GRADES");
    ASSERT_TRUE(ui::dialogSizes().find("DLG_GRADES", stored));
    EXPECT_EQ(stored.Width(), first.Width() + 40);
}
