#pragma once

#include "designer/Kdr_ConstraintsPage.h"
#include "host/EditConstrData.h"
#include "ui/CButtonST.h"
#include "ui/CResizer.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

#include <array>
#include <functional>
#include <memory>

/// Controls of the macro editor window.
enum EditConstraintsResourceId
{
    IDD_EDIT_CONSTRAINTS = 8715,
    IDC_EDITOR_SELECT_MACRO = 1079,
    IDC_EDITOR_MODULES = 1088,
    IDC_EDITOR_ADD_MODULE = 1090,
    IDC_EDITOR_RENAME_MODULE = 1183,
    IDC_EDITOR_REMOVE_MODULE = 1089,
    IDC_EDITOR_TABS = 8097,
    IDC_EDITOR_SETTINGS = 1137,
    IDC_EDITOR_ZOOM = 1320,
    IDI_SELECT_MACRO = 217,
};

/// The macro editor: the modules of a macro in a combo box and their rules on the first of
/// four pages. It runs modeless beside the drawing (one at a time) or modal, on its own copy
/// of the host record. Where the user has to work in the drawing the window steps aside.
///
/// Escape closes the window, except within two seconds of picking a rule from the grid, of
/// opening a rule's context menu or of returning from the cut editor: that Escape was meant
/// for the list, menu or editor just closed.
class Kdr_DlgEditConstraints : public ui::Dialog
{
public:
    static constexpr const char* kSizeKey = "DLG_EDIT_MACRO";
    static constexpr std::uintptr_t kGuardTimer = 1;
    static constexpr unsigned kGuardMilliseconds = 2000;
    static constexpr int kPageCount = 4;

    Kdr_DlgEditConstraints(const EditConstrData& data, bool modeless);

    EditConstrData& data() { return data_; }
    const EditConstrData& data() const { return data_; }
    Kdr_ConstraintsPage& rulesPage() { return rules_; }
    /// Whether an Escape now would be kept from closing the window.
    bool guardRunning() const;

    bool OnInitDialog() override;

protected:
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnDestroy() override;
    void OnTimer(std::uintptr_t id) override;
    void OnSize(unsigned type, int cx, int cy) override;

private:
    void startGuard();
    /// Hides the window and hands the drawing to the user for `work`, then comes back.
    void stepAside(const std::function<void()>& work);
    void fillModules();
    void refillPages();
    void showPage(int index);
    void close(int result);

    void selectOtherMacro();
    void moduleChanged();
    void addModule();
    void renameModule();
    void removeModule();
    void editSettings();
    void zoom();

    EditConstrData data_;
    bool modeless_;
    Kdr_ConstraintsPage rules_;
    /// The pages beyond the rules page: they only share the record here.
    std::array<ui::Dialog, kPageCount - 1> otherPages_;
    CButtonST selectMacroButton_;
    CButtonST addModuleButton_;
    CButtonST removeModuleButton_;
    CButtonST zoomButton_;
    CResizer resizer_;
    bool zooming_ = false;
    bool closing_ = false;
};

/// Shows the modeless macro editor on a copy of `data`. When one is open it is kept as it is.
/// The focus goes back to the host's main window. False only when the window cannot be made.
bool StartDlgEditConstraints(EditConstrData& data);
/// Destroys the modeless macro editor ("Erase window failed" on the command line when its
/// window cannot be destroyed) and posts the command prompt.
void EndDlgEditConstraints();
/// Runs the macro editor modal on a copy of `data`; on OK the copy goes back into `data` and
/// the result is true.
bool StartDlgEditConstrModal(EditConstrData& data);
/// The modeless editor while it is open, else null.
Kdr_DlgEditConstraints* GetDlgEditConstraints();

/// Registers the editor window's template (8715) and the rules page's (207).
void registerEditConstraintsTemplates(ui::ResourceModule& module);
