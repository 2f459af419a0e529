// A small dialog built from a template, driven through the scripted agent as a user would.

#include "UiTestSupport.h"
#include "ui/AcadHost.h"
#include "ui/CResizer.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/Dialog.h"
#include "ui/DialogSizes.h"
#include "ui/Edit.h"
#include "ui/ZxTempResourceOverride.h"

namespace
{
constexpr int kSampleDialog = 100;
constexpr int kName = 1001;
constexpr int kKind = 1002;
constexpr int kTapped = 1003;
constexpr int kSlots = 1004;
constexpr int kApply = 1005;
constexpr int kNote = 1006;

ui::ResourceModule& moduleResources()
{
    static ui::ResourceModule module("spreadsheet module");
    return module;
}

void registerSampleTemplate()
{
    ui::DialogTemplate t(kSampleDialog, "Sample", 0, 0, 200, 120);
    t.style |= WS_THICKFRAME;
    t.ltext(1000, "Name:", 7, 7, 40, 8)
        .editText(kName, 50, 5, 140, 12)
        .comboBox(kKind, 50, 22, 140, 60, CBS_DROPDOWNLIST)
        .auto3State(kTapped, "Tapped", 7, 40, 80, 10)
        .control(kSlots, "CheckListCombo", "", WS_TABSTOP | CBS_DROPDOWNLIST, 50, 55, 140, 60)
        .groupBox(1007, "Notes", 5, 70, 190, 25)
        .editText(kNote, 10, 80, 100, 12, WS_DISABLED)
        .pushButton(kApply, "Apply", 10, 100, 50, 14)
        .defPushButton(IDOK, "OK", 90, 100, 50, 14)
        .pushButton(IDCANCEL, "Cancel", 145, 100, 50, 14);
    moduleResources().addDialog(t);
}

/// The values the sample dialog edits.
struct SampleData
{
    Kdr_String name;
    int kind = -1;
    int tapped = BST_UNCHECKED;
    std::vector<int> slots;
};

class SampleDialog : public ui::Dialog
{
public:
    explicit SampleDialog(SampleData& data, ui::Window* parent = nullptr)
        : Dialog(kSampleDialog, parent), data_(data)
    {
    }

    int applied = 0;
    int nameChanges = 0;
    ui::Size initialSize;

protected:
    bool OnInitDialog() override
    {
        SetDlgItemText(kName, data_.name);
        auto* kind = dlgItem<ui::ComboBox>(kKind);
        for (const char* item : {"Bolt", "Weld", "Anchor"})
            kind->AddString(item);
        kind->SetCurSel(data_.kind);
        CheckDlgButton(kTapped, data_.tapped);
        auto* slots = dlgItem<ui::CheckListComboBox>(kSlots);
        for (const char* item : {"Slot 1", "Slot 2", "Slot 3"})
            slots->AddString(item);
        for (int s : data_.slots)
            slots->SetCheck(s, true);

        initialSize = GetWindowRect().GetSize();
        setMinTrackSize(initialSize);
        resizer_.Attach(this);
        resizer_.AddControl(kName, CResizer::anchorLeft | CResizer::anchorTop | CResizer::anchorRight);
        resizer_.AddControl(IDOK, CResizer::anchorBottomRight);
        resizer_.AddControl(IDCANCEL, CResizer::anchorBottomRight);
        ChangeDlgSize(this, "DLG_SAMPLE");

        onClicked(kApply, [this] { ++applied; });
        onCommand(kName, EN_CHANGE, [this] { ++nameChanges; });
        return true;
    }

    void OnOK() override
    {
        data_.name = GetDlgItemText(kName);
        data_.kind = dlgItem<ui::ComboBox>(kKind)->GetCurSel();
        data_.tapped = IsDlgButtonChecked(kTapped);
        data_.slots = dlgItem<ui::CheckListComboBox>(kSlots)->checkedIndices();
        Dialog::OnOK();
    }

    void OnSize(unsigned type, int cx, int cy) override
    {
        Dialog::OnSize(type, cx, cy);
        resizer_.Move();
    }

    void OnDestroy() override { WriteDlgSize(this, "DLG_SAMPLE"); }

private:
    SampleData& data_;
    CResizer resizer_;
};

/// Runs the sample dialog the way a module entry point does: with the module's resources
/// switched in for the call.
std::intptr_t runSample(SampleData& data)
{
    ZxTempResourceOverride resources(&moduleResources());
    SampleDialog dialog(data);
    return dialog.DoModal();
}

class SampleDialogTest : public uitest::UiTest
{
protected:
    SampleDialogTest()
    {
        registerSampleTemplate();
        ui::dialogSizes().clear();
    }
};

TEST_F(SampleDialogTest, OkCopiesWhatTheUserEnteredAndCancelKeepsTheRecord)
{
    SampleData data{"Plate", 0, BST_CHECKED, {1}};
    agent_.expectDialog(kSampleDialog,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(user.text(kName), "Plate");
                            EXPECT_EQ(user.selection(kKind), 0);
                            user.type(kName, "Base plate");
                            user.choose(kKind, "anchor");
                            user.click(kTapped);
                            user.toggleItemCheck(kSlots, 2);
                            user.click(IDOK);
                        });
    EXPECT_EQ(runSample(data), IDOK);
    EXPECT_EQ(data.name, "Base plate");
    EXPECT_EQ(data.kind, 2);
    EXPECT_EQ(data.tapped, BST_INDETERMINATE);
    EXPECT_EQ(data.slots, (std::vector<int>{1, 2}));

    const SampleData before = data;
    agent_.expectDialog(kSampleDialog,
                        [](ui::Driver& user)
                        {
                            user.type(kName, "changed");
                            user.click(IDCANCEL);
                        });
    EXPECT_EQ(runSample(data), IDCANCEL);
    EXPECT_EQ(data.name, before.name);
    EXPECT_EQ(data.kind, before.kind);
}

TEST_F(SampleDialogTest, KeysEnterEscapeAndClosingEndTheDialog)
{
    SampleData data;
    agent_.expectDialog(kSampleDialog, [](ui::Driver& user) { user.pressKey(VK_RETURN); });
    EXPECT_EQ(runSample(data), IDOK);
    agent_.expectDialog(kSampleDialog, [](ui::Driver& user) { user.pressKey(VK_ESCAPE); });
    EXPECT_EQ(runSample(data), IDCANCEL);
    agent_.expectDialog(kSampleDialog, [](ui::Driver& user) { user.close(); });
    EXPECT_EQ(runSample(data), IDCANCEL);

    // Enter on a focused push button clicks that button, not the default one.
    agent_.expectDialog(kSampleDialog,
                        [](ui::Driver& user)
                        {
                            auto& dialog = static_cast<SampleDialog&>(*user.dialog());
                            user.focus(kApply);
                            user.pressKey(VK_RETURN);
                            EXPECT_EQ(dialog.applied, 1);
                            EXPECT_FALSE(dialog.hasEnded());
                            user.click(IDOK);
                        });
    EXPECT_EQ(runSample(data), IDOK);
}

TEST_F(SampleDialogTest, TabVisitsEnabledTabStopsInTemplateOrderAndShiftTabGoesBack)
{
    SampleData data;
    agent_.expectDialog(
        kSampleDialog,
        [](ui::Driver& user)
        {
            auto focusedId = [] { return ui::Window::GetFocus()->GetDlgCtrlID(); };
            EXPECT_EQ(focusedId(), kName) << "the first tab stop has the focus after opening";
            std::vector<int> visited;
            for (int i = 0; i < 7; ++i)
            {
                user.pressKey(VK_TAB);
                visited.push_back(focusedId());
            }
            // The label, the group box and the disabled note field are skipped; the order wraps.
            EXPECT_EQ(visited, (std::vector<int>{kKind, kTapped, kSlots, kApply, IDOK, IDCANCEL, kName}));
            user.pressKey(VK_TAB, true);
            EXPECT_EQ(focusedId(), IDCANCEL);
            user.click(IDCANCEL);
        });
    runSample(data);
}

TEST_F(SampleDialogTest, ThreeStateCheckBoxCyclesAndScriptCanAimForAState)
{
    SampleData data;
    agent_.expectDialog(
        kSampleDialog,
        [](ui::Driver& user)
        {
            std::vector<int> states;
            for (int i = 0; i < 3; ++i)
            {
                user.click(kTapped);
                states.push_back(user.check(kTapped));
            }
            EXPECT_EQ(states, (std::vector<int>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
            EXPECT_TRUE(user.setCheck(kTapped, BST_INDETERMINATE));
            // Space released on the focused box clicks it too.
            user.focus(kTapped);
            user.pressKey(VK_SPACE);
            EXPECT_EQ(user.check(kTapped), BST_UNCHECKED);
            user.click(IDOK);
        });
    runSample(data);
    EXPECT_EQ(data.tapped, BST_UNCHECKED);
}

TEST_F(SampleDialogTest, DisabledOrMissingControlsCannotBeUsedByTheScript)
{
    SampleData data;
    std::vector<std::string> failures;
    agent_.setFailureHandler([&](const std::string& m) { failures.push_back(m); });
    agent_.expectDialog(kSampleDialog,
                        [](ui::Driver& user)
                        {
                            EXPECT_FALSE(user.type(kNote, "x"));
                            EXPECT_FALSE(user.click(4711));
                            EXPECT_FALSE(user.choose(kKind, "Rivet"));
                            user.click(IDOK);
                            EXPECT_FALSE(user.click(IDCANCEL)) << "the dialog has ended";
                        });
    EXPECT_EQ(runSample(data), IDOK);
    ASSERT_EQ(failures.size(), 4u);
    EXPECT_EQ(failures[0], "dialog 100: type into 1006: the control is disabled");
    EXPECT_EQ(failures[1], "dialog 100: click 4711: no such control");
    EXPECT_EQ(failures[2], "dialog 100: choose in 1002: no item \"Rivet\"");
    EXPECT_EQ(failures[3], "dialog 100: click: the dialog has already ended");
}

TEST_F(SampleDialogTest, ResizeMovesAnchoredControlsAndStopsAtTheMinimumSize)
{
    SampleData data;
    agent_.expectDialog(kSampleDialog,
                        [](ui::Driver& user)
                        {
                            auto& dialog = static_cast<SampleDialog&>(*user.dialog());
                            const ui::Rect name = user.item(kName)->rectInParent();
                            const ui::Rect ok = user.item(IDOK)->rectInParent();
                            const ui::Rect apply = user.item(kApply)->rectInParent();

                            user.resize(dialog.initialSize.cx + 40, dialog.initialSize.cy + 30);
                            EXPECT_EQ(user.item(kName)->rectInParent(),
                                      ui::Rect(name.left, name.top, name.right + 40, name.bottom));
                            EXPECT_EQ(user.item(IDOK)->rectInParent(),
                                      ui::Rect(ok.left + 40, ok.top + 30, ok.right + 40, ok.bottom + 30));
                            EXPECT_EQ(user.item(kApply)->rectInParent(), apply)
                                << "not registered, so it stays";

                            user.resize(10, 10);
                            EXPECT_EQ(dialog.GetWindowRect().GetSize(), dialog.initialSize);
                            EXPECT_EQ(user.item(kName)->rectInParent(), name);
                            EXPECT_EQ(user.item(IDOK)->rectInParent(), ok);
                            user.click(IDCANCEL);
                        });
    runSample(data);
}

TEST_F(SampleDialogTest, SizeIsStoredOnDestroyAndRestoredAtTheNextOpening)
{
    SampleData data;
    ui::Size bigger;
    ui::Rect okAtFirst;
    agent_.expectDialog(kSampleDialog,
                        [&](ui::Driver& user)
                        {
                            auto& dialog = static_cast<SampleDialog&>(*user.dialog());
                            okAtFirst = user.item(IDOK)->rectInParent();
                            bigger = {dialog.initialSize.cx + 100, dialog.initialSize.cy + 50};
                            user.resize(bigger.cx, bigger.cy);
                            user.click(IDOK);
                        });
    runSample(data);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(getDlgSize("dlg_sample", width, height)) << "keys ignore letter case";
    EXPECT_EQ(ui::Size(width, height), bigger);

    agent_.expectDialog(kSampleDialog,
                        [&](ui::Driver& user)
                        {
                            auto& dialog = static_cast<SampleDialog&>(*user.dialog());
                            EXPECT_EQ(dialog.GetWindowRect().GetSize(), bigger);
                            okAtFirst.OffsetRect(100, 50);
                            EXPECT_EQ(user.item(IDOK)->rectInParent(), okAtFirst)
                                << "anchored controls follow the restored size";
                            user.click(IDCANCEL);
                        });
    runSample(data);
}

TEST_F(SampleDialogTest, MessageBoxInsideTheDialogIsAnsweredByTheScript)
{
    SampleData data;
    agent_.expectDialog(kSampleDialog,
                        [](ui::Driver& user)
                        {
                            user.dialog()->onClicked(
                                kApply,
                                [&]
                                {
                                    if (user.dialog()->MessageBox("Apply the changes?", "Sample",
                                                                  MB_YESNO | MB_ICONQUESTION) == IDYES)
                                        user.dialog()->EndDialog(IDOK);
                                });
                            user.click(kApply);
                        });
    agent_.expectMessageBox("Apply the changes?", "Sample", IDYES);
    EXPECT_EQ(runSample(data), IDOK);
    EXPECT_EQ(agent_.transcript(),
              (std::vector<std::string>{"dialog 100 \"Sample\"", "message box \"Apply the changes?\""}));
}

TEST_F(SampleDialogTest, ModuleTemplateIsFoundOnlyWhileTheModuleResourcesAreCurrent)
{
    SampleData data;
    ASSERT_EQ(AfxGetResourceHandle(), &ui::hostResources());
    {
        SampleDialog dialog(data);
        EXPECT_EQ(dialog.DoModal(), -1) << "host resources are current: no template, no dialog";
    }
    EXPECT_EQ(agent_.transcript().size(), 0u);

    agent_.expectDialog(kSampleDialog,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(AfxGetResourceHandle(), &moduleResources());
                            user.click(IDOK);
                        });
    EXPECT_EQ(runSample(data), IDOK);
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources());

    // An early exit (here an exception) still restores the host's resources.
    try
    {
        ZxTempResourceOverride resources(&moduleResources());
        throw 1;
    }
    catch (int)
    {
    }
    EXPECT_EQ(AfxGetResourceHandle(), &ui::hostResources());
}

TEST_F(SampleDialogTest, ModelessDialogLivesUntilDestroyedAndKeepsItsOwnerEnabled)
{
    SampleData data{"Beam", 1, BST_UNCHECKED, {}};
    ui::Window* main = adsw_acadMainWnd();
    auto dialog = std::make_unique<SampleDialog>(data, main);
    {
        ZxTempResourceOverride resources(&moduleResources());
        ASSERT_TRUE(dialog->Create(kSampleDialog, main));
    }
    EXPECT_FALSE(dialog->IsWindowVisible()) << "the template is not WS_VISIBLE";
    dialog->ShowWindow(SW_SHOW);
    EXPECT_TRUE(main->IsWindowEnabled());
    EXPECT_EQ(dialog->GetDlgItemText(kName), "Beam");

    ui::Driver user(*dialog);
    user.type(kName, "Column");
    EXPECT_EQ(dialog->nameChanges, 1) << "the handler is registered after the first fill";

    ASSERT_TRUE(dialog->DestroyWindow());
    EXPECT_FALSE(dialog->IsWindow());
    EXPECT_FALSE(dialog->DestroyWindow());
    int width = 0;
    int height = 0;
    EXPECT_TRUE(getDlgSize("DLG_SAMPLE", width, height));
}
} // namespace
