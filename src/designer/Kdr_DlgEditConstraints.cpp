#include "designer/Kdr_DlgEditConstraints.h"

#include "frame/ModuleBitmaps.h"
#include "frame/ModuleResources.h"
#include "frame/ZxModalDialog.h"
#include "host/CommandLine.h"
#include "host/Texts.h"
#include "ui/AcadHost.h"
#include "ui/ComboBox.h"
#include "ui/DialogSizes.h"
#include "ui/MessageLoop.h"
#include "ui/TabControl.h"
#include "ui/UserAgent.h"

namespace
{
/// The modeless editor; at most one lives.
std::unique_ptr<Kdr_DlgEditConstraints>& modelessEditor()
{
    static auto* editor = new std::unique_ptr<Kdr_DlgEditConstraints>;
    return *editor;
}

/// The macro command that adds a module.
constexpr int kAddModuleCommand = 11;
} // namespace

void registerEditConstraintsTemplates(ui::ResourceModule& module)
{
    ui::DialogTemplate editor(IDD_EDIT_CONSTRAINTS, "", 0, 0, 330, 290);
    editor.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    editor.pushButton(IDC_EDITOR_SELECT_MACRO, "", 7, 7, 50, 14)
        .comboBox(IDC_EDITOR_MODULES, 61, 7, 120, 100, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
        .control(IDC_EDITOR_ADD_MODULE, "BUTTON", "", BS_PUSHBUTTON | WS_TABSTOP, 185, 7, 16, 14)
        .pushButton(IDC_EDITOR_RENAME_MODULE, "", 205, 7, 50, 14)
        .control(IDC_EDITOR_REMOVE_MODULE, "BUTTON", "", BS_PUSHBUTTON | WS_TABSTOP, 259, 7, 16, 14)
        .tabControl(IDC_EDITOR_TABS, 7, 26, 316, 234)
        .pushButton(IDC_EDITOR_SETTINGS, "", 7, 268, 60, 14)
        .control(IDC_EDITOR_ZOOM, "BUTTON", "", BS_PUSHBUTTON | WS_TABSTOP, 71, 268, 16, 14)
        .defPushButton(IDOK, "", 263, 268, 60, 14);
    module.addDialog(std::move(editor));
    registerConstraintsPageTemplate(module);
}

Kdr_DlgEditConstraints::Kdr_DlgEditConstraints(const EditConstrData& data, bool modeless)
    : ui::Dialog(IDD_EDIT_CONSTRAINTS), data_(data), modeless_(modeless)
{
    rules_.setData(&data_);
    rules_.setOnGuard([this] { startGuard(); });
    onClicked(IDC_EDITOR_SELECT_MACRO, [this] { selectOtherMacro(); });
    onCommand(IDC_EDITOR_MODULES, CBN_SELCHANGE, [this] { moduleChanged(); });
    onClicked(IDC_EDITOR_ADD_MODULE, [this] { addModule(); });
    onClicked(IDC_EDITOR_RENAME_MODULE, [this] { renameModule(); });
    onClicked(IDC_EDITOR_REMOVE_MODULE, [this] { removeModule(); });
    onClicked(IDC_EDITOR_SETTINGS, [this] { editSettings(); });
    onClicked(IDC_EDITOR_ZOOM, [this] { zoom(); });
    onNotify(IDC_EDITOR_TABS, TCN_SELCHANGE,
             [this](ui::NotifyHeader&, std::intptr_t&)
             {
                 if (auto* tabs = dlgItem<ui::TabControl>(IDC_EDITOR_TABS))
                     showPage(tabs->GetCurSel());
             });
}

bool Kdr_DlgEditConstraints::OnInitDialog()
{
    SetWindowText(dialString(869));
    SetDlgItemText(IDC_EDITOR_SELECT_MACRO, dialString(870));
    SetDlgItemText(IDC_EDITOR_RENAME_MODULE, dialString(871));
    SetDlgItemText(IDC_EDITOR_SETTINGS, dialString(872));
    SetDlgItemText(IDOK, dialString(285));
    selectMacroButton_.SubclassDlgItem(IDC_EDITOR_SELECT_MACRO, this);
    selectMacroButton_.SetIcon(IDI_SELECT_MACRO);
    selectMacroButton_.SetTooltipText(dialString(865));
    addModuleButton_.SubclassDlgItem(IDC_EDITOR_ADD_MODULE, this);
    addModuleButton_.SetIcon(IDI_ADD);
    addModuleButton_.SetTooltipText(dialString(866));
    removeModuleButton_.SubclassDlgItem(IDC_EDITOR_REMOVE_MODULE, this);
    removeModuleButton_.SetIcon(IDI_REMOVE);
    removeModuleButton_.SetTooltipText(dialString(867));
    zoomButton_.SubclassDlgItem(IDC_EDITOR_ZOOM, this);
    zoomButton_.SetIcon(IDI_EDIT_RULES);
    zoomButton_.SetTooltipText(dialString(868));

    auto* tabs = dlgItem<ui::TabControl>(IDC_EDITOR_TABS);
    for (int i = 0; i < kPageCount; ++i)
        tabs->InsertItem(i, dialString(873 + i));
    tabs->SetCurSel(0);
    ui::Rect area = tabs->rectInParent();
    tabs->AdjustRect(false, area);
    if (!rules_.Create(IDD_CONSTRAINTS_PAGE, this))
        return false;
    rules_.MoveWindow(area);
    // The other pages are plain panels here: they show the same record, but what they edit
    // is the host's business.
    for (ui::Dialog& page : otherPages_)
    {
        ui::DialogTemplate panel(0, "", 0, 0, 10, 10);
        panel.style = WS_CHILD;
        panel.exStyle = WS_EX_CONTROLPARENT;
        page.CreateIndirect(panel, this);
        page.MoveWindow(area);
    }
    fillModules();

    const ui::Rect rect = GetWindowRect();
    setMinTrackSize({rect.Width(), rect.Height()});
    resizer_.Attach(this);
    resizer_.AddControl(IDC_EDITOR_TABS, CResizer::anchorAll);
    for (const int id : {int{IDC_EDITOR_SETTINGS}, int{IDC_EDITOR_ZOOM}})
        resizer_.AddControl(id, CResizer::anchorLeft | CResizer::anchorBottom);
    resizer_.AddControl(IDOK, CResizer::anchorBottomRight);
    ChangeDlgSize(this, kSizeKey);
    return true;
}

void Kdr_DlgEditConstraints::OnSize(unsigned type, int cx, int cy)
{
    ui::Dialog::OnSize(type, cx, cy);
    if (!resizer_.isAttached())
        return;
    resizer_.Move();
    if (auto* tabs = dlgItem<ui::TabControl>(IDC_EDITOR_TABS))
    {
        ui::Rect area = tabs->rectInParent();
        tabs->AdjustRect(false, area);
        rules_.MoveWindow(area);
        for (ui::Dialog& page : otherPages_)
            page.MoveWindow(area);
    }
}

void Kdr_DlgEditConstraints::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    resizer_.Detach();
    ui::Dialog::OnDestroy();
}

// ---- Closing -----------------------------------------------------------------------------------

bool Kdr_DlgEditConstraints::guardRunning() const
{
    return ui::MessageLoop::instance().hasTimer(GetSafeHwnd(), kGuardTimer);
}

void Kdr_DlgEditConstraints::startGuard()
{
    SetTimer(kGuardTimer, kGuardMilliseconds);
}

void Kdr_DlgEditConstraints::OnTimer(std::uintptr_t id)
{
    if (id == kGuardTimer)
        KillTimer(kGuardTimer);
    else
        ui::Dialog::OnTimer(id);
}

void Kdr_DlgEditConstraints::close(int result)
{
    if (closing_)
        return;
    rules_.leaveRule();
    if (!modeless_)
    {
        EndDialog(result);
        return;
    }
    // The window cannot take itself down while its own handlers run; the message loop
    // destroys it next, as the entry point does.
    closing_ = true;
    ShowWindow(SW_HIDE);
    ui::MessageLoop::instance().post([] { EndDlgEditConstraints(); });
}

void Kdr_DlgEditConstraints::OnOK()
{
    close(IDOK);
}

void Kdr_DlgEditConstraints::OnCancel()
{
    if (guardRunning())
        return;
    close(IDCANCEL);
}

void Kdr_DlgEditConstraints::OnClose()
{
    close(IDCANCEL);
}

// ---- Modules and pages ------------------------------------------------------------------------

void Kdr_DlgEditConstraints::fillModules()
{
    auto* combo = dlgItem<ui::ComboBox>(IDC_EDITOR_MODULES);
    if (!combo)
        return;
    Kdr_StringArray names;
    MacroGetModules(data_, names);
    combo->ResetContent();
    int current = -1;
    for (int i = 0; i < names.length(); ++i)
    {
        combo->AddString(names[i]);
        if (names[i].equal(data_.currentModule, false))
            current = i;
    }
    combo->SetCurSel(current);
}

void Kdr_DlgEditConstraints::refillPages()
{
    rules_.fillGrid();
}

void Kdr_DlgEditConstraints::showPage(int index)
{
    if (index != 0)
        rules_.leaveRule();
    rules_.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
    for (int i = 0; i < kPageCount - 1; ++i)
        otherPages_[static_cast<size_t>(i)].ShowWindow(index == i + 1 ? SW_SHOW : SW_HIDE);
}

void Kdr_DlgEditConstraints::stepAside(const std::function<void()>& work)
{
    const ui::WindowHandle self = GetSafeHwnd();
    ShowWindow(SW_HIDE);
    BeginEditorCommand(data_);
    work();
    if (FromHandle(self) != this)
        return;
    CompleteEditorCommand(data_);
    ShowWindow(SW_SHOW);
}

void Kdr_DlgEditConstraints::selectOtherMacro()
{
    rules_.leaveRule();
    bool picked = false;
    stepAside([&] { picked = SelectOtherMacro(data_); });
    if (!picked)
        return;
    fillModules();
    refillPages();
}

void Kdr_DlgEditConstraints::moduleChanged()
{
    auto* combo = dlgItem<ui::ComboBox>(IDC_EDITOR_MODULES);
    if (!combo || combo->GetCurSel() < 0)
        return;
    rules_.leaveRule();
    Kdr_String name;
    combo->GetLBText(combo->GetCurSel(), name);
    SetCurrentModule(data_, name);
    refillPages();
}

void Kdr_DlgEditConstraints::addModule()
{
    rules_.leaveRule();
    bool added = false;
    stepAside([&] { added = StartMacroCommand(data_, kAddModuleCommand); });
    if (!added)
        return;
    Kdr_StringArray names;
    MacroGetModules(data_, names);
    // The new module is the last; it is the one the user goes on with.
    if (names.length() > 0)
        SetCurrentModule(data_, names.last());
    fillModules();
    refillPages();
}

void Kdr_DlgEditConstraints::renameModule()
{
    if (data_.currentModule.empty())
        return;
    ui::ValuePromptRequest request;
    request.owner = this;
    request.title = dialString(871);
    request.label = dialString(221);
    request.value = data_.currentModule;
    request.okCaption = dialString(1);
    request.cancelCaption = dialString(2);
    Kdr_String name = data_.currentModule;
    if (!ui::promptValue(request, name) || name == data_.currentModule)
        return;
    rules_.leaveRule();
    if (RenameModule(data_, name))
        fillModules();
}

void Kdr_DlgEditConstraints::removeModule()
{
    if (data_.currentModule.empty())
        return;
    rules_.leaveRule();
    if (!RemoveModule(data_))
        return;
    fillModules();
    refillPages();
}

void Kdr_DlgEditConstraints::editSettings()
{
    MacroSettings settings;
    if (!GetMacroSettings(data_, settings))
        return;
    ui::ValuePromptRequest request;
    request.owner = this;
    request.title = dialString(872);
    request.label = dialString(87);
    request.value = settings.name;
    request.okCaption = dialString(1);
    request.cancelCaption = dialString(2);
    if (!ui::promptValue(request, settings.name))
        return;
    SetMacroSettings(data_, settings);
}

void Kdr_DlgEditConstraints::zoom()
{
    // The host may hand the button's command back while the zoom runs; one zoom at a time.
    if (zooming_)
        return;
    zooming_ = true;
    const ui::WindowHandle self = GetSafeHwnd();
    stepAside([&] { ZoomCommand(data_); });
    if (FromHandle(self) == this)
        zooming_ = false;
}

// ---- Entry points ------------------------------------------------------------------------------

Kdr_DlgEditConstraints* GetDlgEditConstraints()
{
    return modelessEditor().get();
}

bool StartDlgEditConstraints(EditConstrData& data)
{
    std::unique_ptr<Kdr_DlgEditConstraints>& editor = modelessEditor();
    if (editor && editor->IsWindow())
        return true;
    editor.reset();
    ModuleResourceScope resources;
    ui::Window* main = adsw_acadMainWnd();
    auto created = std::make_unique<Kdr_DlgEditConstraints>(data, true);
    if (!created->Create(IDD_EDIT_CONSTRAINTS, main))
        return false;
    editor = std::move(created);
    editor->ShowWindow(SW_SHOW);
    main->SetFocus();
    return true;
}

void EndDlgEditConstraints()
{
    std::unique_ptr<Kdr_DlgEditConstraints>& editor = modelessEditor();
    if (editor)
    {
        if (!editor->DestroyWindow())
            acutPrintf("Erase window failed\n");
        editor.reset();
    }
    acedPostCommandPrompt();
}

bool StartDlgEditConstrModal(EditConstrData& data)
{
    return runModalOnRecord<Kdr_DlgEditConstraints>(
        [](Kdr_DlgEditConstraints& editor) { editor.setParentWindow(adsw_acadMainWnd()); },
        [&](Kdr_DlgEditConstraints& editor) { data = editor.data(); }, data, false);
}
