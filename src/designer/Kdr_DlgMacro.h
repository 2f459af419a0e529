#pragma once

#include "host/MacroData.h"
#include "ui/CButtonST.h"
#include "ui/CResizer.h"
#include "ui/ComboBox.h"
#include "ui/Dialog.h"
#include "ui/TabControl.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class Kdr_DlgMacroPage;

/// The macro dialog: one page per tab of a macro's dialog data, every accepted change applied
/// to the drawing at once through the host. Modal (StartDlgMacro) or modeless in a slot of
/// the modeless registry (StartDlgMacroModeless).
///
/// While the dialog runs something that must not be interrupted — a nested dialog, a prompt,
/// a host call — it is busy; a modeless close asked for meanwhile is deferred by the registry.
class Kdr_DlgMacro : public ui::Dialog
{
public:
    /// What a page of the dialog is.
    enum PageKind
    {
        kVariablePage = 0,
        kProfilePage = 1,
    };

    explicit Kdr_DlgMacro(ui::Window* parent = nullptr);
    ~Kdr_DlgMacro() override;

    /// The slot in the modeless registry; -1 for a modal dialog.
    int index() const { return index_; }
    void setIndex(int index) { index_ = index; }
    bool isBusy() const { return busy_ > 0; }
    bool isClosing() const { return closing_; }

    MacroData& macroData() { return data_; }
    const MacroData& macroData() const { return data_; }

    /// The key the dialog's size is kept under: "DLG_MACRO_EDITVARS_" and the macro's name,
    /// "GROUP_" and the group's name, or the number of macros and "_MACROS".
    Kdr_String sizeKey() const;

    /// Reads the page of tab `tabIndex` back into the tab data and applies the changes to the
    /// drawing; the pages then show the tab data again. False when nothing was applied.
    bool applyPage(int tabIndex);
    /// Makes `change` to tab `tabIndex` and applies what it changed to the drawing; when the
    /// drawing refuses it the tab is restored. The pages then show the tab data again.
    bool applyTabChange(int tabIndex, const std::function<void(MacroTabData&)>& change);
    /// Opens the bolt options dialog on the bolt data of tab `tabIndex`.
    void openBoltOptions(int tabIndex);
    /// Shows the tab data in every page again.
    void refreshAllPages();
    /// The page of tab `tabIndex`, or null.
    Kdr_DlgMacroPage* page(int tabIndex) const;
    int pageCount() const { return static_cast<int>(pages_.size()); }

    /// Keeps the dialog busy while it lives.
    class BusyScope
    {
    public:
        explicit BusyScope(Kdr_DlgMacro& dialog) : dialog_(dialog) { ++dialog_.busy_; }
        ~BusyScope() { --dialog_.busy_; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Kdr_DlgMacro& dialog_;
    };

    bool OnInitDialog() override;
    bool PreTranslateMessage(ui::Message& message) override;

protected:
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    void OnSize(unsigned type, int cx, int cy) override;
    void OnGetMinMaxInfo(ui::MinMaxInfo& info) override;

private:
    void close();
    void buildTabs();
    void destroyPages();
    void fillTitleAndFilters();
    void showSelectedPage();
    void layoutPages();
    void fitToPages();
    void enablePropertyButtons();
    void startClashCheck();
    int currentTab() const;
    void selectOtherMacros();
    void filterChanged(int moduleFilter);
    void changeView(int direction);
    void reApply();
    void loadFromStandards();
    void loadProperties();
    void saveProperties();
    bool choosePropertyFile(Kdr_String& path);

    ui::TabControl* tabs_ = nullptr;
    CButtonST buttons_[9];
    ui::ComboBox* filters_[2] = {nullptr, nullptr};
    int index_ = -1;
    Kdr_String name_ = "Macro";
    MacroData data_;
    std::vector<std::unique_ptr<ui::Dialog>> pages_;
    std::vector<PageKind> pageKinds_;
    /// The tab each page shows.
    std::vector<int> pageTabs_;
    CResizer resizer_;
    int initialWidth_ = 50;
    int initialHeight_ = 50;
    bool sized_ = false;
    bool closing_ = false;
    int previousTab_ = -1;
    bool pageShown_ = false;
    int busy_ = 0;
    /// Where the focus was on each tab's page, by tab name (lower case).
    std::map<std::string, int> focusByTab_;
};

/// Runs the macro dialog modally on a copy of `data` and copies the dialog's data back into
/// `data` when it ends, whatever the way it ended. False when the dialog could not be shown or
/// failed while it ran.
bool StartDlgMacro(MacroData& data);
