#include "designer/Kdr_DlgMacro.h"

#include "designer/Kdr_DlgBoltOptions.h"
#include "designer/Kdr_DlgMacroPage.h"
#include "designer/MacroDialogResources.h"
#include "frame/MacroDlgRegistry.h"
#include "frame/ModuleResources.h"
#include "host/MacroDialogHost.h"
#include "host/Texts.h"
#include "ui/AcadHost.h"
#include "ui/Button.h"
#include "ui/Cursor.h"
#include "ui/DialogSizes.h"
#include "ui/MessageLoop.h"
#include "ui/UserAgent.h"

#include <algorithm>

namespace
{
/// The icon buttons of the dialog: control, icon, tooltip (a host text, or 0 for the English
/// tooltip of the standards button).
struct IconButton
{
    int id;
    int icon;
    int tooltip;
};
constexpr IconButton kIconButtons[9] = {
    {IDC_MACRO_SELECT, 217, 973},     {IDC_MACRO_VIEW_3, 218, 974},     {IDC_MACRO_VIEW_0, 220, 975},
    {IDC_MACRO_VIEW_1, 222, 976},     {IDC_MACRO_VIEW_2, 221, 977},     {IDC_MACRO_STANDARDS, 259, 0},
    {IDC_MACRO_LOAD_PROPS, 232, 978}, {IDC_MACRO_SAVE_PROPS, 233, 979}, {IDC_MACRO_CLASH, 237, 980},
};

/// The smallest track size before the dialog has been sized, and what the frame, the buttons
/// and the tab headers add to the largest page.
constexpr ui::Size kFirstMinimum{280, 300};
constexpr int kPageMarginX = 47;
constexpr int kPageMarginY = 160;

const char* const kCancelCommand = "CANCELCMD";

std::string lowerName(const Kdr_String& name)
{
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

/// The property-file chooser: the offered files in an editable list.
class PropFileChooser : public ui::Dialog
{
public:
    PropFileChooser(ui::Window* parent, Kdr_StringArray files)
        : ui::Dialog(IDD_PROP_FILES, parent), files_(std::move(files))
    {
    }

    Kdr_String chosen;

    bool OnInitDialog() override
    {
        SetWindowText(dialString(978));
        SetDlgItemText(IDOK, dialString(1));
        SetDlgItemText(IDCANCEL, dialString(2));
        if (auto* list = dlgItem<ui::ComboBox>(IDC_PROP_FILE))
        {
            for (const Kdr_String& file : files_)
                list->AddString(file);
            if (list->GetCount() > 0)
                list->SetCurSel(0);
        }
        return true;
    }

protected:
    void OnOK() override
    {
        chosen = GetDlgItemText(IDC_PROP_FILE);
        if (chosen.empty())
            return;
        ui::Dialog::OnOK();
    }

private:
    Kdr_StringArray files_;
};
} // namespace

Kdr_DlgMacro::Kdr_DlgMacro(ui::Window* parent) : ui::Dialog(IDD_MACRO, parent)
{
}

Kdr_DlgMacro::~Kdr_DlgMacro()
{
    if (IsWindow())
        DestroyWindow();
}

Kdr_String Kdr_DlgMacro::sizeKey() const
{
    Kdr_String key = "DLG_MACRO_EDITVARS_";
    const Kdr_StringArray& names = data_.macroNames();
    if (names.length() == 1)
        return key + names[0];
    if (!data_.groupName().empty())
        return key + "GROUP_" + data_.groupName();
    return key + std::to_string(names.length()) + "_MACROS";
}

bool Kdr_DlgMacro::OnInitDialog()
{
    for (int i = 0; i < 9; ++i)
    {
        const IconButton& look = kIconButtons[i];
        if (!buttons_[i].SubclassDlgItem(look.id, this))
            continue;
        buttons_[i].SetIcon(look.icon);
        buttons_[i].SetTooltipText(look.tooltip != 0 ? dialString(look.tooltip)
                                                     : Kdr_String("Load from standards"));
    }
    SetDlgItemText(IDC_MACRO_GROUP_FILTER_BOX, dialString(755));
    SetDlgItemText(IDC_MACRO_MACRO_FILTER_BOX, dialString(981));
    SetDlgItemText(IDC_MACRO_REAPPLY, dialString(982));
    SetDlgItemText(IDOK, dialString(285));
    tabs_ = dlgItem<ui::TabControl>(IDC_MACRO_TABS);
    filters_[0] = dlgItem<ui::ComboBox>(IDC_MACRO_MACRO_FILTER);
    filters_[1] = dlgItem<ui::ComboBox>(IDC_MACRO_GROUP_FILTER);

    const ui::Rect rect = GetWindowRect();
    initialWidth_ = rect.Width();
    initialHeight_ = rect.Height();
    resizer_.Attach(this);
    resizer_.AddControl(IDC_MACRO_TABS, CResizer::anchorAll);
    resizer_.AddControl(IDOK, CResizer::anchorBottomRight);

    onClicked(IDC_MACRO_SELECT, [this] { selectOtherMacros(); });
    onCommand(IDC_MACRO_GROUP_FILTER, CBN_SELCHANGE, [this] { filterChanged(1); });
    onCommand(IDC_MACRO_MACRO_FILTER, CBN_SELCHANGE, [this] { filterChanged(0); });
    onClicked(IDC_MACRO_VIEW_3, [this] { changeView(3); });
    onClicked(IDC_MACRO_VIEW_0, [this] { changeView(0); });
    onClicked(IDC_MACRO_VIEW_1, [this] { changeView(1); });
    onClicked(IDC_MACRO_VIEW_2, [this] { changeView(2); });
    onClicked(IDC_MACRO_CLASH, [this]
              { macroDialogHost().clashCheckOn = IsDlgButtonChecked(IDC_MACRO_CLASH) == BST_CHECKED; });
    onClicked(IDC_MACRO_REAPPLY, [this] { reApply(); });
    onClicked(IDC_MACRO_STANDARDS, [this] { loadFromStandards(); });
    onClicked(IDC_MACRO_LOAD_PROPS, [this] { loadProperties(); });
    onClicked(IDC_MACRO_SAVE_PROPS, [this] { saveProperties(); });
    onNotify(IDC_MACRO_TABS, TCN_SELCHANGE,
             [this](ui::NotifyHeader&, std::intptr_t&) { showSelectedPage(); });

    buildTabs();
    int selected = -1;
    if (data_.findTab(data_.currentTab(), selected))
        for (int item = 0; item < static_cast<int>(pageTabs_.size()); ++item)
            if (pageTabs_[static_cast<size_t>(item)] == selected)
            {
                tabs_->SetCurSel(item);
                showSelectedPage();
            }
    fillTitleAndFilters();
    // The window has its first size now, as the platform's first size message would tell.
    sized_ = true;
    ChangeDlgSize(this, sizeKey());
    fitToPages();

    clashInitDlgStarted();
    clashResetInfo();
    CheckDlgButton(IDC_MACRO_CLASH, macroDialogHost().clashCheckOn ? BST_CHECKED : BST_UNCHECKED);
    clashcheck();
    SetCursor(LoadStandardCursor(IDC_ARROW));
    return true;
}

void Kdr_DlgMacro::buildTabs()
{
    if (tabs_ == nullptr)
        return;
    ModuleResourceScope resources;
    int keep = tabs_->GetCurSel();
    destroyPages();
    tabs_->DeleteAllItems();
    for (int i = 0; i < data_.tabCount(); ++i)
    {
        MacroTabData& tab = data_.tabs()[static_cast<size_t>(i)];
        std::unique_ptr<ui::Dialog> page;
        PageKind kind = kVariablePage;
        switch (tab.kind())
        {
        case MacroTabData::kVariables:
        case MacroTabData::kBolts:
        case MacroTabData::kVariablesOther:
        {
            auto variables = std::make_unique<Kdr_DlgMacroPage>(*this, i);
            if (!variables->Create(IDD_MACRO_PAGE, this))
                continue;
            variables->fill(tab);
            variables->refresh(tab);
            page = std::move(variables);
            break;
        }
        case MacroTabData::kProfiles:
        {
            auto profiles = std::make_unique<Kdr_DlgMacroProfilePage>();
            if (!profiles->Create(IDD_MACRO_PROFILES, this))
                continue;
            page = std::move(profiles);
            kind = kProfilePage;
            break;
        }
        default:
            continue; // a tab of a kind the dialog does not know has no page
        }
        page->ShowWindow(SW_HIDE);
        tabs_->InsertItem(tabs_->GetItemCount(), tab.name(), i);
        pages_.push_back(std::move(page));
        pageKinds_.push_back(kind);
        pageTabs_.push_back(i);
    }
    if (keep < 0 || keep >= tabs_->GetItemCount())
        keep = 0;
    if (tabs_->GetItemCount() > 0)
        tabs_->SetCurSel(keep);
    previousTab_ = -1;
    layoutPages();
    showSelectedPage();
    enablePropertyButtons();
}

void Kdr_DlgMacro::destroyPages()
{
    for (auto& page : pages_)
        if (page->IsWindow())
            page->DestroyWindow();
    pages_.clear();
    pageKinds_.clear();
    pageTabs_.clear();
}

void Kdr_DlgMacro::enablePropertyButtons()
{
    const bool allowed = data_.propListAllowed();
    for (const int id : {int{IDC_MACRO_LOAD_PROPS}, int{IDC_MACRO_SAVE_PROPS}})
        if (ui::Window* button = GetDlgItem(id))
            button->EnableWindow(allowed);
}

void Kdr_DlgMacro::fillTitleAndFilters()
{
    const Kdr_StringArray& names = data_.macroNames();
    Kdr_String title = name_;
    if (names.length() == 1)
        title += " - " + names[0];
    else if (!data_.groupName().empty())
        title += " - " + data_.groupName();
    else if (names.length() > 1)
        title += " - " + std::to_string(names.length()) + " macros";
    SetWindowText(title);

    for (int filter = 0; filter < 2; ++filter)
    {
        ui::ComboBox* combo = filters_[filter];
        if (combo == nullptr)
            continue;
        combo->ResetContent();
        for (const Kdr_String& item : macroDialogHost().filterItems[filter])
            combo->AddString(item);
        combo->SetCurSel(data_.filterSelection(filter));
    }
}

int Kdr_DlgMacro::currentTab() const
{
    if (tabs_ == nullptr)
        return -1;
    const int item = tabs_->GetCurSel();
    return item >= 0 && item < static_cast<int>(pageTabs_.size()) ? pageTabs_[static_cast<size_t>(item)] : -1;
}

Kdr_DlgMacroPage* Kdr_DlgMacro::page(int tabIndex) const
{
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pageTabs_[i] == tabIndex)
            return dynamic_cast<Kdr_DlgMacroPage*>(pages_[i].get());
    return nullptr;
}

void Kdr_DlgMacro::showSelectedPage()
{
    if (tabs_ == nullptr)
        return;
    // The page being left remembers where its focus was.
    if (previousTab_ >= 0)
        if (Kdr_DlgMacroPage* left = page(previousTab_))
        {
            const MacroTabData* tab = nullptr;
            if (data_.getTab(previousTab_, tab))
                focusByTab_[lowerName(tab->name())] = left->focusedControl();
        }
    const int item = tabs_->GetCurSel();
    for (size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->ShowWindow(static_cast<int>(i) == item ? SW_SHOW : SW_HIDE);
    const int tabIndex = currentTab();
    previousTab_ = tabIndex;
    const MacroTabData* tab = nullptr;
    if (!data_.getTab(tabIndex, tab))
        return;
    data_.setCurrentTab(tab->name());
    Kdr_DlgMacroPage* shown = page(tabIndex);
    if (shown == nullptr)
        return;
    const auto remembered = focusByTab_.find(lowerName(tab->name()));
    if (remembered != focusByTab_.end())
        shown->restoreFocus(remembered->second);
    else if (!pageShown_)
        shown->restoreFocus(0);
    pageShown_ = true;
}

void Kdr_DlgMacro::layoutPages()
{
    if (tabs_ == nullptr || !tabs_->IsWindow())
        return;
    // Every page covers the tab control's display area: from the first tab's left edge and
    // 2 pixels below its bottom to 3 pixels inside the right and 2 inside the bottom.
    ui::Rect client = tabs_->GetClientRect();
    ui::Rect item;
    if (!tabs_->GetItemRect(0, item))
        item = ui::Rect(ui::TabControl::kMargin, 0, ui::TabControl::kMargin,
                        ui::TabControl::kHeaderTop + ui::TabControl::kHeaderHeight);
    ui::Rect area(item.left, item.bottom + 2, client.right - 3, client.bottom - 2);
    tabs_->ClientToScreen(area);
    ScreenToClient(area);
    for (auto& page : pages_)
        page->MoveWindow(area);
}

void Kdr_DlgMacro::fitToPages()
{
    ui::MinMaxInfo info;
    OnGetMinMaxInfo(info);
    ui::Rect rect = GetWindowRect();
    const int width = std::max(rect.Width(), info.ptMinTrackSize.x);
    const int height = std::max(rect.Height(), info.ptMinTrackSize.y);
    if (width != rect.Width() || height != rect.Height())
        MoveWindow(rect.left, rect.top, width, height);
}

void Kdr_DlgMacro::OnGetMinMaxInfo(ui::MinMaxInfo& info)
{
    ui::Dialog::OnGetMinMaxInfo(info);
    if (!sized_)
    {
        info.ptMinTrackSize = {kFirstMinimum.cx, kFirstMinimum.cy};
        return;
    }
    int width = 0;
    int height = 0;
    for (size_t i = 0; i < pages_.size(); ++i)
        if (auto* variables = dynamic_cast<Kdr_DlgMacroPage*>(pages_[i].get()))
        {
            width = std::max(width, variables->minimumSize().cx);
            height = std::max(height, variables->minimumSize().cy);
        }
    info.ptMinTrackSize = {std::max(width + kPageMarginX, initialWidth_),
                           std::max(height + kPageMarginY, initialHeight_)};
}

void Kdr_DlgMacro::OnSize(unsigned type, int cx, int cy)
{
    ui::Dialog::OnSize(type, cx, cy);
    sized_ = true;
    if (resizer_.isAttached())
        resizer_.Move();
    layoutPages();
}

bool Kdr_DlgMacro::PreTranslateMessage(ui::Message& message)
{
    // Enter applies the shown page; it never closes the dialog. A focused push button is
    // still pressed by Enter, and a grid that is editing has taken Enter before this.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && message.window != nullptr &&
        (message.window == this || IsChild(message.window)))
    {
        auto* button = dynamic_cast<ui::Button*>(ui::Window::GetFocus());
        if (button == nullptr || !button->isPushButton() || !IsChild(button))
        {
            applyPage(currentTab());
            return true;
        }
    }
    return ui::Dialog::PreTranslateMessage(message);
}

bool Kdr_DlgMacro::applyTabChange(int tabIndex, const std::function<void(MacroTabData&)>& change)
{
    MacroTabData* tab = nullptr;
    if (closing_ || !data_.getTab(tabIndex, tab))
        return false;
    const MacroTabData before = *tab;
    change(*tab);
    Kdr_StringArray changed;
    if (!tab->differences(before, changed))
        return false;
    bool applied = false;
    {
        BusyScope busy(*this);
        applied = UpdateModule(data_, tabIndex, changed);
    }
    if (applied)
        clashcheck();
    else if (data_.getTab(tabIndex, tab))
        *tab = before; // the drawing refused the values: the pages show what it holds
    refreshAllPages();
    acedPostCommandPrompt();
    return applied;
}

bool Kdr_DlgMacro::applyPage(int tabIndex)
{
    Kdr_DlgMacroPage* shown = page(tabIndex);
    if (shown == nullptr)
        return false;
    return applyTabChange(tabIndex, [shown](MacroTabData& tab) { shown->readBack(tab); });
}

void Kdr_DlgMacro::refreshAllPages()
{
    for (size_t i = 0; i < pages_.size(); ++i)
        if (auto* variables = dynamic_cast<Kdr_DlgMacroPage*>(pages_[i].get()))
        {
            const MacroTabData* tab = nullptr;
            if (data_.getTab(pageTabs_[i], tab))
                variables->refresh(*tab);
        }
}

void Kdr_DlgMacro::selectOtherMacros()
{
    acedPostCommand(kCancelCommand);
    bool changed = false;
    ShowWindow(SW_HIDE);
    {
        BusyScope busy(*this);
        changed = SelectOtherMacros(data_);
    }
    ShowWindow(SW_SHOW);
    if (!changed)
        return;
    buildTabs();
    fillTitleAndFilters();
    clashResetInfo();
    fitToPages();
}

void Kdr_DlgMacro::filterChanged(int moduleFilter)
{
    for (int filter = 0; filter < 2; ++filter)
        if (filters_[filter] != nullptr)
            data_.setFilterSelection(filter, filters_[filter]->GetCurSel());
    {
        BusyScope busy(*this);
        UpdateAllFilterModified(data_, moduleFilter);
    }
    buildTabs();
    fillTitleAndFilters();
    fitToPages();
}

void Kdr_DlgMacro::changeView(int direction)
{
    acedPostCommand(kCancelCommand);
    data_.changeView(currentTab(), direction);
}

void Kdr_DlgMacro::reApply()
{
    bool done = false;
    {
        BusyScope busy(*this);
        done = data_.reApply();
    }
    if (done)
        close();
}

void Kdr_DlgMacro::loadFromStandards()
{
    {
        BusyScope busy(*this);
        data_.loadFromStandards();
    }
    buildTabs();
    clashcheck();
}

bool Kdr_DlgMacro::choosePropertyFile(Kdr_String& path)
{
    Kdr_StringArray files;
    data_.getPropFiles(files);
    ModuleResourceScope resources;
    PropFileChooser chooser(this, files);
    if (chooser.DoModal() != IDOK)
        return false;
    path = chooser.chosen;
    return true;
}

void Kdr_DlgMacro::loadProperties()
{
    BusyScope busy(*this);
    Kdr_String path;
    if (!choosePropertyFile(path))
        return;
    int unused = 0;
    if (!data_.readFromFile(path, unused))
        return;
    if (unused != 0)
        MessageBox(dialString(1507) + ".\n" + dialString(1508) + " " + std::to_string(unused) + " " +
                       dialString(1509) + ".\n\n" + dialString(1510),
                   "", MB_OK);
    setAllToMacro(data_);
    refreshAllPages();
    clashcheck();
}

void Kdr_DlgMacro::saveProperties()
{
    BusyScope busy(*this);
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pageKinds_[i] == kVariablePage)
            applyPage(pageTabs_[i]);
    Kdr_String path;
    if (!choosePropertyFile(path))
        return;
    data_.writeToFile(path);
}

void Kdr_DlgMacro::openBoltOptions(int tabIndex)
{
    MacroTabData* tab = nullptr;
    const MacroBoltData* bolts = nullptr;
    if (!data_.getTab(tabIndex, tab) || !tab->getBoltData(bolts))
        return;
    BusyScope busy(*this);
    ModuleResourceScope resources;
    Kdr_DlgBoltOptions options(this);
    options.boltData = *bolts;
    options.diameters = macroDialogHost().diameters;
    options.applyToTab = [this, tabIndex](const MacroBoltData& accepted)
    {
        applyTabChange(tabIndex,
                       [&accepted](MacroTabData& changedTab)
                       {
                           MacroBoltData* current = nullptr;
                           if (!changedTab.getBoltData(current))
                               return;
                           // The dialog does not show where the page shows the texts.
                           const auto refs = current->dlgRefs;
                           *current = accepted;
                           current->dlgRefs = refs;
                       });
        const MacroTabData* shownTab = nullptr;
        const MacroBoltData* held = nullptr;
        return data_.getTab(tabIndex, shownTab) && shownTab->getBoltData(held) ? *held : accepted;
    };
    options.DoModal();
}

void Kdr_DlgMacro::close()
{
    if (closing_)
        return;
    acedPostCommand(kCancelCommand);
    data_.changeView(currentTab(), 3);
    closing_ = true;
    if (isModal())
    {
        acedPostCommandPrompt();
        EndDialog(IDOK);
        return;
    }
    // The registry deletes this dialog, which must not happen inside its own handler: the
    // close runs from the message loop once the handler has returned.
    const int slot = index_;
    const Kdr_DlgMacro* self = this;
    ui::MessageLoop::instance().post([slot, self] { endMacroDlgInSlot(slot, self); });
}

void Kdr_DlgMacro::OnOK()
{
    close();
}

void Kdr_DlgMacro::OnCancel()
{
    close();
}

void Kdr_DlgMacro::OnDestroy()
{
    WriteDlgSize(this, sizeKey());
    clashDlgClosed();
    destroyPages();
    if (tabs_ != nullptr)
        tabs_->DeleteAllItems();
    resizer_.Detach();
    ui::Dialog::OnDestroy();
}

bool StartDlgMacro(MacroData& data)
{
    // Unlike the other modal entry points this one hands the dialog's data back however the
    // dialog ends: the dialog applies every change to the drawing while it runs, so the data
    // must follow the drawing even after Cancel. It therefore takes only the resource switch
    // of the common modal shape, and like every entry point lets no exception reach the host.
    ModuleResourceScope resources;
    try
    {
        Kdr_DlgMacro dialog(adsw_acadMainWnd());
        dialog.macroData() = data;
        const std::intptr_t result = dialog.DoModal();
        data = dialog.macroData();
        return result != -1;
    }
    catch (...)
    {
        return false;
    }
}
