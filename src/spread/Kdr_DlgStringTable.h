#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"
#include "spread/Kdr_Spread.h"
#include "ui/CResizer.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

/// Controls of the string table dialog.
enum StringTableResourceId
{
    IDD_STRING_TABLE = 208,
    IDC_STRING_TABLE_GRID = 1196,
    IDC_STRING_TABLE_ADD_ROW = 1088,
    IDC_STRING_TABLE_REMOVE_ROW = 1089,
};

/// A resizable modal dialog that shows a small table of texts in a grid under column and row
/// captions, lets the user change the cells and, when editable, add and remove rows. On OK
/// the rows are read back from the grid, each with one text per column. F3 and F5 in the grid
/// open its find and replace dialog.
class Kdr_DlgStringTable : public ui::Dialog
{
public:
    static constexpr const char* kDefaultSizeKey = "DLG_SS_STRINGARRAY";

    Kdr_DlgStringTable();

    bool editable = true;
    Kdr_String sizeKey;
    Kdr_String caption;
    Kdr_Array<Kdr_StringArray> rows;
    Kdr_StringArray columnCaptions;
    Kdr_StringArray rowCaptions;

    Kdr_Spread& grid() { return grid_; }

    bool OnInitDialog() override;

protected:
    void OnOK() override;
    void OnDestroy() override;
    void OnSize(unsigned type, int cx, int cy) override;

private:
    void addRow();
    void removeRow();

    Kdr_Spread grid_;
    CResizer resizer_;
    int initialWidth_ = 0;
    int initialHeight_ = 0;
};

/// Shows the table in the string table dialog. False at once, with nothing shown, when there
/// are no column captions; an empty size key becomes "DLG_SS_STRINGARRAY". On OK `rows`
/// receives the rows as read from the grid and the result is true; otherwise `rows` is left
/// as passed.
bool startGridDialog(const Kdr_StringArray& columnCaptions, const Kdr_StringArray& rowCaptions,
                     Kdr_Array<Kdr_StringArray>& rows, bool editable, Kdr_String sizeKey, Kdr_String caption);

/// Registers the string table dialog's template (208) with a resource module.
void registerStringTableTemplate(ui::ResourceModule& module);
