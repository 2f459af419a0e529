// A person's keys and clicks on the real widgets reach the dialogs through the toolkit's own
// input path, and the dialogs end up exactly as the headless ones do.

#include "GuiTestSupport.h"
#include "designer/MacroDialogResources.h"
#include "editor/Kdr_FindReplaceDlg.h"
#include "frame/ModuleResources.h"
#include "grid/Csv.h"
#include "grid/FileText.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"
#include "spread/Kdr_DlgStringTable.h"
#include "spread/Kdr_Spread.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <fstream>

namespace
{
using guitest::GuiTest;

/// Every cell of a grid as its displayed text, row by row.
std::vector<std::string> cells(const Kdr_Spread& grid)
{
    std::vector<std::string> out;
    for (int row = 1; row <= grid.getMaxRows(); ++row)
        for (int col = 1; col <= grid.getMaxCols(); ++col)
        {
            Kdr_String text;
            grid.getCellText(col, row, text, ctkData);
            out.push_back(text);
        }
    return out;
}

/// Clicks a cell of a grid's table view where the view shows it.
void clickCell(QTableView& view, int col, int row)
{
    const QRect rect = view.visualRect(view.model()->index(row - 1, col - 1));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, rect.center());
}

std::string readBytes(const std::string& path)
{
    std::string text;
    grid::FileError error;
    grid::readFileText(path, text, error);
    return text;
}

TEST_F(GuiTest, FindAndReplaceThroughQtInputMatchesTheHeadlessResult)
{
    const std::string sheet = (root_ / "plates.csv").string();
    std::ofstream(sheet)
        << "End plate,Fin plate,=1+1\nPlate thickness,plates,Bolt\n,Plate,=\"plate\"&\"x\"\n";

    // Headless: the grid's own replace-all on the same file.
    std::vector<std::string> expected;
    int replaced = 0;
    {
        Kdr_Spread headless;
        ASSERT_TRUE(headless.createHidden());
        ASSERT_TRUE(headless.loadFile(sheet));
        replaced = headless.replaceAll("PLATE", "sheet");
        expected = cells(headless);
        headless.DestroyWindow();
    }
    ASSERT_EQ(replaced, 5);

    answerMessageBoxes();
    std::vector<std::string> shown;
    onDialog(
        [&](ui::Dialog& dialog, QWidget& widget)
        {
            auto* view = qobject_cast<QTableView*>(renderer().controlWidget(dialog, IDC_SS_PLACEHOLDER));
            ASSERT_NE(view, nullptr);
            auto* grid = dynamic_cast<Kdr_Spread*>(renderer().windowFor(view));
            ASSERT_NE(grid, nullptr);
            clickCell(*view, 2, 1);
            int col = 0, row = 0;
            ASSERT_TRUE(grid->sheet().activeCell(col, row));
            EXPECT_EQ(col, 2);
            EXPECT_EQ(row, 1);
            EXPECT_TRUE(view->hasFocus()) << "the focus follows the model";

            QTest::keyClick(view, Qt::Key_F5);
            Kdr_FindReplaceDlg* find = grid->findReplaceDialog();
            ASSERT_NE(find, nullptr) << "F5 opens the find and replace dialog";
            QWidget* findWindow = renderer().widgetFor(find);
            ASSERT_NE(findWindow, nullptr);
            EXPECT_TRUE(findWindow->isVisible());
            EXPECT_TRUE(QTest::qWaitForWindowActive(findWindow));
            EXPECT_EQ(findWindow->windowTitle(), QStringLiteral("Find and replace"));

            auto* findText = qobject_cast<QLineEdit*>(renderer().controlWidget(*find, IDC_FIND_TEXT));
            auto* replaceText = qobject_cast<QLineEdit*>(renderer().controlWidget(*find, IDC_REPLACE_TEXT));
            ASSERT_NE(findText, nullptr);
            ASSERT_NE(replaceText, nullptr);
            QTest::mouseClick(findText, Qt::LeftButton);
            QTest::keyClicks(findText, "PLATE");
            EXPECT_EQ(find->GetDlgItemText(IDC_FIND_TEXT), "PLATE");
            QTest::keyClick(findText, Qt::Key_Tab);
            EXPECT_EQ(ui::Window::GetFocus(), find->GetDlgItem(IDC_REPLACE_TEXT)) << "Tab is the dialog's";
            QTest::keyClicks(replaceText, "sheet");
            EXPECT_EQ(find->GetDlgItemText(IDC_REPLACE_TEXT), "sheet");

            auto* replaceAll = qobject_cast<QPushButton*>(renderer().controlWidget(*find, IDC_REPLACE_ALL));
            ASSERT_NE(replaceAll, nullptr);
            QTest::mouseClick(replaceAll, Qt::LeftButton);
            shown = cells(*grid);
            EXPECT_EQ(view->model()->index(1, 1).data().toString(), QStringLiteral("sheets"))
                << "the view shows the grid's new texts";

            QTest::keyClick(findText, Qt::Key_Escape);
            EXPECT_EQ(grid->findReplaceDialog(), nullptr) << "Escape closes the find dialog";
            auto* cancel = qobject_cast<QPushButton*>(renderer().controlWidget(dialog, IDCANCEL));
            ASSERT_NE(cancel, nullptr);
            QTest::mouseClick(cancel, Qt::LeftButton);
            EXPECT_TRUE(dialog.hasEnded());
            (void)widget;
        });
    EXPECT_EQ(run({"sheet", sheet}), 0);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(seenBoxes_, std::vector<std::string>{"Replaced 5 times."});
    EXPECT_EQ(renderer().messages(), std::vector<std::string>{"Replaced 5 times."});
}

TEST_F(GuiTest, TypingIntoTheStringTableAndEnterSavesTheRows)
{
    const std::string csv = (root_ / "table.csv").string();
    std::ofstream(csv) << "Name,Value\nLength,4500\n";
    onDialog(
        [&](ui::Dialog& dialog, QWidget&)
        {
            auto* view = qobject_cast<QTableView*>(renderer().controlWidget(dialog, IDC_STRING_TABLE_GRID));
            ASSERT_NE(view, nullptr);
            clickCell(*view, 2, 1);
            QTest::keyClicks(view, "4800");
            auto* grid = dynamic_cast<Kdr_Spread*>(renderer().windowFor(view));
            ASSERT_NE(grid, nullptr);
            EXPECT_TRUE(grid->isEditing());
            EXPECT_EQ(view->model()->index(0, 1).data().toString(), QStringLiteral("4800"))
                << "the view shows the open entry";
            QTest::keyClick(view, Qt::Key_Return); // writes the entry
            EXPECT_FALSE(grid->isEditing());
            EXPECT_FALSE(dialog.hasEnded());
            auto* add =
                qobject_cast<QPushButton*>(renderer().controlWidget(dialog, IDC_STRING_TABLE_ADD_ROW));
            ASSERT_NE(add, nullptr);
            QTest::mouseClick(add, Qt::LeftButton);
            EXPECT_EQ(view->model()->rowCount(), 2) << "the view follows the new row";
            QTest::keyClick(view, Qt::Key_Return); // the default button: OK
            EXPECT_TRUE(dialog.hasEnded());
            EXPECT_EQ(dialog.endResult(), IDOK);
        });
    EXPECT_EQ(run({"strings", csv}), 0);
    EXPECT_EQ(readBytes(csv), "Name,Value\r\nLength,4800\r\n,\r\n");
}

TEST_F(GuiTest, TheFormulaDialogWithoutAFileOffersAGridToTypeFormulasInto)
{
    onDialog(
        [&](ui::Dialog& dialog, QWidget&)
        {
            auto* view = qobject_cast<QTableView*>(renderer().controlWidget(dialog, IDC_SS_PLACEHOLDER));
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(view->model()->columnCount(), 26);
            EXPECT_EQ(view->model()->rowCount(), 100);
            EXPECT_EQ(view->model()->headerData(25, Qt::Horizontal).toString(), QStringLiteral("Z"));
            clickCell(*view, 2, 1);
            QTest::keyClicks(view, "21");
            QTest::keyClick(view, Qt::Key_Return);
            clickCell(*view, 1, 3);
            QTest::keyClicks(view, "=B1*2");
            QTest::keyClick(view, Qt::Key_Return);
            auto* grid = dynamic_cast<Kdr_Spread*>(renderer().windowFor(view));
            ASSERT_NE(grid, nullptr);
            Kdr_String value;
            grid->getCellText(1, 3, value, ctkValue);
            EXPECT_EQ(value, "42");
            EXPECT_EQ(view->model()->index(2, 0).data().toString(), QStringLiteral("42"));
            auto* cancel = qobject_cast<QPushButton*>(renderer().controlWidget(dialog, IDCANCEL));
            ASSERT_NE(cancel, nullptr);
            QTest::mouseClick(cancel, Qt::LeftButton);
            EXPECT_TRUE(dialog.hasEnded());
        });
    EXPECT_EQ(run({"formulas"}), 0);
}

// ---- the controls, on a dialog of the test's own --------------------------------------------

constexpr int kControlsDialog = 9901;
constexpr int kCheck = 101;
constexpr int kEdit = 102;
constexpr int kCombo = 103;
constexpr int kLabel = 104;

class ControlsDialog : public ui::Dialog
{
public:
    ControlsDialog() : ui::Dialog(kControlsDialog) {}
    std::vector<int> commands;

protected:
    bool OnInitDialog() override
    {
        auto* combo = dynamic_cast<ui::ComboBox*>(GetDlgItem(kCombo));
        combo->AddString("IPE");
        combo->AddString("HEA");
        combo->AddString("HEB");
        combo->SetCurSel(0);
        return true;
    }
    bool OnCommand(int id, int code, ui::Window* control) override
    {
        if (id == kCombo && code == CBN_SELCHANGE)
            commands.push_back(id);
        return ui::Dialog::OnCommand(id, code, control);
    }
};

void registerControlsDialog()
{
    static const bool done = []
    {
        ui::DialogTemplate t(kControlsDialog, "Controls", 0, 0, 200, 100);
        // "Oriëntatie" in Windows-1252, as the host's older files have it.
        t.ltext(kLabel, "Ori\xEBntatie", 7, 7, 80, 8);
        t.autoCheckBox(kCheck, "Flip", 7, 20, 80, 10);
        t.editText(kEdit, 7, 34, 80, 12, ES_NUMBER);
        t.comboBox(kCombo, 7, 50, 80, 60);
        t.defPushButton(IDOK, "OK", 90, 80, 50, 14).pushButton(IDCANCEL, "Cancel", 145, 80, 50, 14);
        ui::hostResources().addDialog(std::move(t));
        return true;
    }();
    (void)done;
}

TEST_F(GuiTest, ControlsTakeClicksAndKeysThroughTheModel)
{
    registerControlsDialog();
    ControlsDialog dialog;
    onDialog(
        [&](ui::Dialog& d, QWidget& window)
        {
            auto* label = qobject_cast<QLabel*>(renderer().controlWidget(d, kLabel));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), QStringLiteral("Ori\u00EBntatie")) << "8-bit text shown as Windows-1252";

            auto* check = qobject_cast<QCheckBox*>(renderer().controlWidget(d, kCheck));
            ASSERT_NE(check, nullptr);
            QTest::mouseClick(check, Qt::LeftButton);
            EXPECT_EQ(d.IsDlgButtonChecked(kCheck), BST_CHECKED);
            EXPECT_TRUE(check->isChecked());
            QTest::keyClick(check, Qt::Key_Space);
            EXPECT_EQ(d.IsDlgButtonChecked(kCheck), BST_UNCHECKED) << "Space is the model's button key";
            EXPECT_FALSE(check->isChecked());

            QTest::keyClick(check, Qt::Key_Tab);
            EXPECT_EQ(ui::Window::GetFocus(), d.GetDlgItem(kEdit));
            auto* edit = qobject_cast<QLineEdit*>(renderer().controlWidget(d, kEdit));
            ASSERT_NE(edit, nullptr);
            EXPECT_TRUE(edit->hasFocus()) << "Qt's focus follows the model's";
            QTest::keyClicks(edit, "12a3");
            EXPECT_EQ(d.GetDlgItemText(kEdit), "123") << "the field's style refuses the letter";
            EXPECT_EQ(edit->text(), QStringLiteral("123"));

            QTest::keyClick(edit, Qt::Key_Tab);
            auto* combo = qobject_cast<QComboBox*>(renderer().controlWidget(d, kCombo));
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(ui::Window::GetFocus(), d.GetDlgItem(kCombo));
            EXPECT_LE(combo->height(), combo->sizeHint().height()) << "sized by its edit part";
            QTest::keyClick(combo, Qt::Key_Down);
            EXPECT_EQ(dynamic_cast<ui::ComboBox*>(d.GetDlgItem(kCombo))->GetCurSel(), 1);
            EXPECT_EQ(combo->currentText(), QStringLiteral("HEA"));

            QTest::keyClick(&window, Qt::Key_Escape);
            EXPECT_TRUE(d.hasEnded());
        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.commands, std::vector<int>{kCombo});
}

// ---- timers and nested modal runs ---------------------------------------------------------

constexpr int kTimerDialog = 9902;

/// Ends itself from a timer; the outer one first runs an inner one from its timer.
class TimedDialog : public ui::Dialog
{
public:
    TimedDialog(int depth, std::vector<std::string>& log) : ui::Dialog(kTimerDialog), depth_(depth), log_(log)
    {
    }

protected:
    bool OnInitDialog() override
    {
        SetTimer(1, 30);
        return true;
    }
    void OnTimer(std::uintptr_t id) override
    {
        KillTimer(id);
        if (depth_ > 0)
        {
            TimedDialog inner(depth_ - 1, log_);
            log_.push_back("inner " + std::to_string(inner.DoModal()));
        }
        log_.push_back("end " + std::to_string(depth_));
        EndDialog(IDOK);
    }

private:
    int depth_;
    std::vector<std::string>& log_;
};

TEST_F(GuiTest, TimersFollowTheMessageLoopAndNestedRunsEndInOrder)
{
    static const bool registered = []
    {
        ui::DialogTemplate t(kTimerDialog, "Timed", 0, 0, 100, 40);
        t.defPushButton(IDOK, "OK", 25, 20, 50, 14);
        ui::hostResources().addDialog(std::move(t));
        return true;
    }();
    (void)registered;
    std::vector<std::string> log;
    TimedDialog outer(1, log);
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(log, (std::vector<std::string>{"end 0", "inner 1", "end 1"}));
}
} // namespace

// ---- clicks on disabled controls, and a modeless dialog's own loop ---------------------------

constexpr int kDrawingDialog = 9903;
constexpr int kDisabledButton = 201;

/// Records where the mouse went, as a drawing area does with clicks on its disabled controls.
class DrawingDialog : public ui::Dialog
{
public:
    DrawingDialog() : ui::Dialog(kDrawingDialog) {}
    std::vector<ui::Point> clicks;

protected:
    bool OnInitDialog() override
    {
        GetDlgItem(kDisabledButton)->EnableWindow(false);
        return true;
    }
    void OnLButtonDown(unsigned flags, ui::Point point) override
    {
        clicks.push_back(point);
        ui::Dialog::OnLButtonDown(flags, point);
    }
};

TEST_F(GuiTest, ClicksOnDisabledControlsGoToTheirParentAndAModelessDialogRunsUntilClosed)
{
    static const bool registered = []
    {
        ui::DialogTemplate t(kDrawingDialog, "Drawing", 0, 0, 160, 80);
        t.pushButton(kDisabledButton, "Disabled", 20, 20, 60, 20);
        t.pushButton(IDCANCEL, "Close", 100, 60, 50, 14);
        ui::hostResources().addDialog(std::move(t));
        return true;
    }();
    (void)registered;
    DrawingDialog dialog;
    ASSERT_TRUE(dialog.Create(kDrawingDialog, nullptr));
    onDialog(
        [&](ui::Dialog& d, QWidget& window)
        {
            QWidget* disabled = renderer().controlWidget(d, kDisabledButton);
            ASSERT_NE(disabled, nullptr);
            EXPECT_FALSE(disabled->isEnabled());
            const QPoint at = disabled->geometry().center();
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
            ASSERT_EQ(dynamic_cast<DrawingDialog&>(d).clicks.size(), 1u) << "the dialog got the click";
            EXPECT_EQ(dynamic_cast<DrawingDialog&>(d).clicks[0].x, at.x());
            EXPECT_EQ(dynamic_cast<DrawingDialog&>(d).clicks[0].y, at.y());
            QTest::mouseClick(renderer().controlWidget(d, IDCANCEL), Qt::LeftButton);
        });
    renderer().runModeless(dialog);
    EXPECT_TRUE(dialog.hasEnded());
    EXPECT_FALSE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
}

namespace
{
namespace fs = std::filesystem;

/// The value of a variable of a module of a macro file, as the file holds it.
std::string savedVariable(const std::string& file, const char* module, const char* name)
{
    Kdr_DbMacro macro;
    MacroData data;
    std::string error;
    if (!loadMacroJson(file, macro, data, error))
        return error;
    const Kdr_Module* found = nullptr;
    if (!macro.macro().findModule(module, found))
        return "(no module)";
    const Kdr_DialogVariable* value = found->findDialogVariable(name);
    return value != nullptr ? std::string(value->value) : std::string("(no variable)");
}

TEST_F(GuiTest, ADimensionTypedIntoTheMacroDialogIsInTheSavedMacro)
{
    const fs::path file = root_ / "macro.json";
    fs::copy_file(KALDOR_SAMPLE_LIBRARY "../macros/EndPlate-IPE300.json", file);
    ASSERT_EQ(savedVariable(file.string(), "EndPlate1", "Height"), "360");

    answerMessageBoxes();
    onDialog(
        [&](ui::Dialog& dialog, QWidget&)
        {
            // The template's edit that shows the plate's height, found by what it shows.
            QLineEdit* height = nullptr;
            for (int id = IDC_PAGE_FIRST_DYNAMIC; id < IDC_PAGE_FIRST_DYNAMIC + 40 && height == nullptr; ++id)
                if (auto* edit = qobject_cast<QLineEdit*>(renderer().controlWidget(dialog, id));
                    edit != nullptr && edit->isVisible() && edit->text() == QStringLiteral("360"))
                    height = edit;
            ASSERT_NE(height, nullptr) << "the End plate template shows the height in an edit";
            QTest::mouseClick(height, Qt::LeftButton);
            QTest::keyClick(height, Qt::Key_End);
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(height, Qt::Key_Backspace);
            QTest::keyClicks(height, "385");
            EXPECT_EQ(renderer().windowFor(height)->GetWindowText(), "385");
            QTest::keyClick(height, Qt::Key_Return); // applies the change, keeps the dialog
            EXPECT_FALSE(dialog.hasEnded()) << "Enter never closes the macro dialog";

            auto* ok = qobject_cast<QPushButton*>(renderer().controlWidget(dialog, IDOK));
            ASSERT_NE(ok, nullptr);
            QTest::mouseClick(ok, Qt::LeftButton);
            EXPECT_TRUE(dialog.hasEnded());
        });
    ASSERT_EQ(run({"macro", file.string()}), 0);

    EXPECT_EQ(savedVariable(file.string(), "EndPlate1", "Height"), "385");
    EXPECT_EQ(savedVariable(file.string(), "EndPlate1", "Width"), "180") << "the rest is kept";
    // Saved in one piece: no temporary file is left beside the macro.
    std::vector<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, (std::vector<std::string>{"macro.json"}));
}
} // namespace
