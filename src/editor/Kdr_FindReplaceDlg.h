#pragma once

#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

class Kdr_Spread;

/// Controls of the find and replace dialog.
enum FindReplaceResourceId
{
    IDD_FINDREPLACE = 218,
    IDC_FIND_LABEL = 1206,
    IDC_FIND_TEXT = 1207,
    IDC_REPLACE_LABEL = 1208,
    IDC_REPLACE_TEXT = 1209,
    IDC_REPLACE = 1204,
    IDC_REPLACE_ALL = 1205,
};

/// The modeless, topmost dialog that finds and replaces text in the cells of one grid, owned
/// by the grid (Kdr_Spread::showFindReplace makes it). OK is find next, 1204 replace, 1205
/// replace all, Cancel closes; F3 and F5 pressed in it find next and replace. Found text is
/// selected in the grid's cell editor, so the user sees it in place.
///
/// It deletes itself when its window goes. While it is open the grid's option 13 is on and
/// option 20 off; option 13 gets back its earlier state when it closes.
class Kdr_FindReplaceDlg : public ui::Dialog
{
public:
    static constexpr const char* kSizeKey = "DLG_FINDREPLACE";

    explicit Kdr_FindReplaceDlg(Kdr_Spread& grid);

    /// Makes and shows the window; false when the grid or the template is missing.
    bool open();
    /// Find next from the grid's active cell, asking whether to start again from the top at
    /// the end of the sheet. True when text was found and selected.
    bool findNext();
    /// Find next, then the found text is replaced. True when a replacement was written.
    bool replace();
    /// Every cell that shows the text; reports the count. Returns it.
    int replaceAll();

    bool OnInitDialog() override;
    bool PreTranslateMessage(ui::Message& message) override;

protected:
    void OnOK() override { findNext(); }
    void OnCancel() override { DestroyWindow(); }
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }

private:
    /// The grid while its window lives, else null.
    Kdr_Spread* liveGrid() const;
    /// Finds from (col, row) onward without wrapping and selects the first occurrence that
    /// can be selected.
    bool searchFrom(Kdr_Spread& grid, const Kdr_String& text, int col, int row);
    /// Opens the editor again on the text this dialog selected last, when the click on one
    /// of its buttons closed it and the user has not moved on.
    void resumeSelection(Kdr_Spread& grid);
    void rememberSelection(Kdr_Spread& grid);

    Kdr_Spread* grid_;
    ui::WindowHandle gridHandle_ = 0;
    bool option13WasOn_ = false;
    struct Found
    {
        int col = 0;
        int row = 0;
        int start = 0;
        int end = 0;
    };
    Found last_;
    bool hasLast_ = false;
};

/// Registers the find dialog's template (218) with a resource module.
void registerFindReplaceTemplate(ui::ResourceModule& module);
