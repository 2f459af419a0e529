#pragma once

#include "grid/CustomFunction.h"
#include "grid/Sheet.h"
#include "host/Kdr_StringArray.h"
#include "ui/GridControl.h"
#include "ui/PopupMenu.h"
#include "ui/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class Kdr_FindReplaceDlg;

/// Which text of a cell getCellText returns.
enum Kdr_CellTextKind
{
    ctkData = 0,    ///< the displayed data text
    ctkFormula = 1, ///< the formula in the sheet's reference style
    ctkTag = 2,     ///< the cell's tag
    ctkValue = 3,   ///< the value as text; for a formula cell the calculated result
};

/// The grid window: one grid engine sheet in a window of class "fpSpread70", with the cell,
/// row, column, format and search operations the module needs.
///
/// Nearly every operation does nothing and reports failure (false, or -1 for counts) until
/// createInDialog (or createHidden) has made the window. Columns and rows count from 1;
/// kHeaderIndex (-32767) addresses the column-header row or the row-header column.
///
/// A person works in the grid with the mouse and the keyboard (see docs/grid-interaction.md):
/// clicks make a cell active, typing opens the cell editor, Enter, Tab and the arrows write
/// the entry, Escape drops it. The parent window hears of it through WM_NOTIFY with the
/// ui::GridNotification codes. Changes made from code send nothing, so a hidden grid that
/// only calculates pays nothing for it.
class Kdr_Spread : public ui::Window, public ui::GridControl
{
public:
    static constexpr int kHeaderIndex = -32767;
    static constexpr const char* kWindowClass = "fpSpread70";
    static constexpr const char* kPreviewClass = "fpSpreadPreview70";
    /// Module bitmaps of the two check-box pictures (off, on).
    static constexpr int kCheckOffBitmap = 8134;
    static constexpr int kCheckOnBitmap = 8136;
    /// Control properties the wrapper switches.
    static constexpr int kPropRedraw = 8;
    static constexpr int kPropChangesMade = 30;

    Kdr_Spread();
    ~Kdr_Spread() override;

    // --- Creation and look ---------------------------------------------------------------

    /// Replaces the placeholder control `placeholderId` of `dialog` by the grid, in the
    /// placeholder's rectangle taken relative to the dialog's window rectangle; without
    /// `keepRect` the rectangle moves 5 left and 20 up. The sheet starts with 0 rows and columns.
    bool createInDialog(ui::Window* dialog, const int& placeholderId, bool keepRect);
    /// Makes the grid as a hidden window of its own (a grid that only calculates).
    bool createHidden();
    /// Makes the engine's print-preview control ("fpSpreadPreview70") in `rect` of `parent`.
    static ui::Window* createPreview(ui::Window* parent, const ui::Rect& rect, int id);
    bool isCreated() const { return created_; }

    /// The standard look; preset 0 or 1 adds its own three settings. False when not created.
    bool applyDefaultStyle(int preset);
    void setHeaderFont(int col1, int row1, int col2, int row2, const Kdr_String& faceName, int height,
                       bool bold, bool alsoTextTips);

    const Kdr_String& defaultFontName() const { return fontName_; }
    int defaultFontHeight() const { return fontHeight_; }
    void setDefaultFont(const Kdr_String& faceName, int height);

    // --- Size ----------------------------------------------------------------------------

    int getMaxRows() const;
    int getMaxCols() const;
    bool setMaxRows(int n, bool copyLastFormat);
    bool setMaxCols(int n, bool copyLastFormat);
    bool insertRow(int row, bool askCaption, bool copyFormat);
    bool insertColumn(int col, bool askCaption, bool copyFormat);
    bool appendRow(bool copyFormat);
    bool appendRowTexts(const Kdr_StringArray& texts);
    bool deleteRow(int row);
    bool deleteColumn(int col);
    bool deleteActiveRow();
    /// Every check-box cell inside the selection gets "1" (on) or "0".
    bool setChecks(bool on);

    // --- Row order (Kdr_SpreadRows.cpp) ----------------------------------------------------

    /// Swaps row `row` with the row above (`up`) or below, with everything the rows hold:
    /// entries, types, formats and their header texts. The active cell follows the row.
    /// False, and nothing changed, for the first row upwards, the last downwards or a row
    /// outside the sheet.
    bool moveRow(int row, bool up);
    /// moveRow on the active row.
    bool moveActiveRow(bool up);
    /// Sorts the rows by the shown texts of column `col`: numbers by value before texts,
    /// texts in natural order (letter case ignored, "IPE 80" before "IPE 100"); rows with
    /// equal keys keep their order. Rows move whole, with their header texts. False for a
    /// column outside the sheet.
    bool sortRows(int col, bool ascending);

    // --- Cells ---------------------------------------------------------------------------

    /// One text of a cell (kind: Kdr_CellTextKind). An empty cell reads as an empty text and
    /// true; a cell beyond the last row or column fails.
    bool getCellText(int col, int row, Kdr_String& text, const int& kind) const;
    bool setCellText(int col, int row, const char* text);
    bool setCellValue(int col, int row, const Kdr_String& value);
    bool setCellValue(int col, int row, int value);
    /// Sets a formula and calculates it at once.
    bool setCellFormula(int col, int row, const char* formula);
    /// Sets a formula parsed before for this very cell (see grid::Sheet::setParsedFormula).
    bool setCellParsedFormula(int col, int row, std::shared_ptr<const grid::Formula> formula);

    bool setNumberType(int col1, int row1, int col2, int row2, int decimals, bool thousands);
    bool setNumberType(int col, int row, int decimals, bool thousands);
    /// Whether the cell has the type setNumberType or setTextType would give it.
    bool hasNumberType(int col, int row, int decimals, bool thousands) const;
    bool hasTextType(int col, int row, int style, int maxLength) const;
    bool setNumberTypeColumn(int col, int decimals, bool thousands);
    bool setTextType(int col1, int row1, int col2, int row2, int style, int maxLength);
    bool setTextType(int col, int row);
    bool setTextTypeColumn(int col);
    static constexpr int kTextStyle = 0x110000;
    static constexpr int kTextMaxLength = 200;

    bool setCheckBoxType(int col1, int row1, int col2, int row2, const Kdr_String& caption = {});
    bool setComboType(int col1, int row1, int col2, int row2, const Kdr_StringArray& items, int style = 0);
    bool setButtonType(int col1, int row1, int col2, int row2, const Kdr_String& caption, int style = 0);
    bool setColors(int col1, int row1, int col2, int row2, grid::Color background, grid::Color foreground);
    bool setBorder(int col1, int row1, int col2, int row2, int mask, int style, grid::Color color);
    bool setLock(int col1, int row1, int col2, int row2, bool locked);
    bool setCellNote(int col, int row, const Kdr_String& note);
    bool setCellTag(int col, int row, const Kdr_String& tag);
    bool setTextTip(int mode, int delay);
    bool addCellSpan(int col, int row, int width, int height);
    bool getCellSpan(int col, int row, int& anchorCol, int& anchorRow, int& width, int& height) const;
    bool removeCellSpan(int col, int row);

    /// Spans every run of equal, non-empty value texts of the column into one cell.
    bool mergeEqualCells(int col);
    /// Shows a bitmap file in a cell spanning the whole row; the row takes the bitmap's height.
    bool setPictureCell(const Kdr_String& bitmapFile, const int& col, const int& row);
    /// Shows a module bitmap (or icon) in a cell.
    bool setResourcePictureCell(const int& col, const int& row, int resourceId, bool isIcon);

    // --- Columns and rows as lists -------------------------------------------------------

    bool getColumnTexts(int col, Kdr_StringArray& out, const int& kind) const;
    bool getColumnTexts(int col, Kdr_Array<int>& out) const;
    bool getColumnTexts(int col, Kdr_Array<double>& out) const;
    bool getColumnTexts(int col, Kdr_Array<bool>& out) const;
    bool setColumnTexts(int col, const Kdr_StringArray& in, bool asValue);
    bool setColumnTexts(int col, const Kdr_Array<int>& in, bool asValue);
    /// Writes each number with 2 decimals.
    bool setColumnTexts(int col, const Kdr_Array<double>& in, bool asValue);
    /// Writes "1" or "0".
    bool setColumnTexts(int col, const Kdr_Array<bool>& in, bool asValue);
    bool getRowTexts(int row, Kdr_StringArray& out) const;
    bool setRowTexts(int row, const Kdr_StringArray& in, bool asValue);
    /// Column captions and row captions (the header shorthands).
    bool setColumnCaptions(const Kdr_StringArray& captions)
    {
        return setRowTexts(kHeaderIndex, captions, false);
    }
    bool getColumnCaptions(Kdr_StringArray& captions) const { return getRowTexts(kHeaderIndex, captions); }
    bool setRowCaptions(const Kdr_StringArray& captions)
    {
        return setColumnTexts(kHeaderIndex, captions, false);
    }

    // --- Search ----------------------------------------------------------------------------

    /// Finds a cell whose value text equals `text` (or contains it, with `partial`), from
    /// (col, row) to the end of that row, then row by row below it.
    bool findForward(const Kdr_String& text, bool partial, int& row, int& col) const;
    /// The stored cells as (col, row), row by row and left to right: the cells a search visits.
    std::vector<std::pair<int, int>> storedCellsByRow() const;
    /// findForward of a whole text from the top left (row 1, column 1), over `cells` as
    /// storedCellsByRow gave them while the sheet has not changed since. Several searches and
    /// walks of an unchanged sheet share one list instead of each ordering the cells again.
    bool findFirst(const std::vector<std::pair<int, int>>& cells, const Kdr_String& text, int& row,
                   int& col) const;

private:
    /// Whether the value text of (col, row) equals `text` (or contains it, with `partial`),
    /// letter case ignored.
    bool valueMatches(int col, int row, const Kdr_String& text, bool partial) const;
    /// The first of `cells` (row by row) at or after (startCol, startRow) inside the sheet
    /// whose value text matches.
    bool firstMatch(const std::vector<std::pair<int, int>>& cells, const Kdr_String& text, bool partial,
                    int startCol, int startRow, int& row, int& col) const;

public:
    // --- Sizing ----------------------------------------------------------------------------

    bool fitColumnWidth(int col, bool skipTypeEight);
    bool fitRowHeight(int row);
    bool fitAllColumns();
    bool fitAllRows();
    bool fitAll();

    /// Resize modes 0–5: how columns follow the window's width.
    void setResizeMode(int mode, int first = 0, int second = 0);
    void setResizeMode(int mode, const Kdr_Array<int>& columns, const Kdr_Array<int>& widths);
    int resizeMode() const { return resizeMode_; }
    /// Whether the row-header column is shown (it then takes part in the resize modes).
    void setRowHeaderVisible(bool visible) { rowHeaderVisible_ = visible; }
    bool rowHeaderVisible() const { return rowHeaderVisible_; }
    /// Applies the resize mode to the current client width.
    void applyResizeMode();

    // --- Keyboard --------------------------------------------------------------------------

    /// True when the window with the keyboard focus is a grid.
    static bool isGridWindowFocused();
    /// Decides whether Tab leaves the grid: result 0 the grid moves on, 2 (last cell, no Shift)
    /// or 3 (first cell, Shift) the dialog moves the focus, 1 the dialog's own handling.
    bool handleTab(int key, int& result);

    // --- The engine ------------------------------------------------------------------------

    /// The sheet, for the operations passed straight to the engine (loading and saving files,
    /// formulas, custom functions, control properties).
    grid::Sheet& sheet() { return sheet_; }
    const grid::Sheet& sheet() const { return sheet_; }
    bool loadFile(const Kdr_String& path);
    bool saveFile(const Kdr_String& path) const;
    bool addCustomFunction(const char* name, int minArgs, int maxArgs, grid::CustomFunctionProc callback,
                           int flags);
    bool recalcCell(int col, int row);
    void setProperty(int number, int value);
    int property(int number) const;

    /// Switches drawing off for its lifetime (property 8), on again on every path.
    class RedrawGuard
    {
    public:
        explicit RedrawGuard(Kdr_Spread& spread);
        ~RedrawGuard();
        RedrawGuard(const RedrawGuard&) = delete;
        RedrawGuard& operator=(const RedrawGuard&) = delete;

    private:
        Kdr_Spread& spread_;
        bool wasOn_;
    };

    // --- Editor settings (Kdr_SpreadSettings.cpp) -----------------------------------------
    // How the sheets the module makes itself (the bill) are prepared, labelled and saved, so
    // that the spreadsheet editor shows and prints them with the right fonts and variables.

    /// Writes a sheet to a file; false when the file could not be written.
    using SheetFileWriter = std::function<bool(Kdr_Spread& sheet, const Kdr_String& fileName)>;

    /// Switches the grid options 12, 25, 7 and 21 on. A new sheet also gets 6 columns and 11
    /// rows of edit cells, the named editor settings (else the configured default settings,
    /// else the defaults) in its corner cell and their font on its cells. Text tips are set
    /// to mode 2 after 10 ms and the note indicator is switched off. Nothing without a sheet.
    static void prepareSheet(Kdr_Spread* sheet, const Kdr_String& settingsName, bool newSheet);
    /// Prepares this grid as a new sheet with the named settings and makes the font of the
    /// settings it received the wrapper's default font.
    void prepareWithSettings(const Kdr_String& settingsName);
    /// Replaces the print variables of the sheet's settings; false when they cannot be
    /// stored (the sheet then keeps its old settings).
    bool setSheetVariables(const Kdr_StringArray& names, const Kdr_StringArray& values);
    /// Saves the sheet with its formatting (through `writer` when one is given), clears the
    /// changes-made flag and copies the header picture (else the footer picture) next to the
    /// file. False when there is no sheet or the save fails.
    static bool saveSheetWithPictures(Kdr_Spread* sheet, const Kdr_String& fileName,
                                      const SheetFileWriter& writer = {});

    int placeholderId() const { return placeholderId_; }
    ui::Window* parentDialog() const { return dialog_; }
    /// The markers the check-box column operations keep.
    int markers_[3] = {-1, -1, -1};

    // --- Interaction -----------------------------------------------------------------------

    /// The chosen item of a combo cell: the index of the item equal to the cell's text, -1
    /// when none is (or the cell is no combo cell).
    int getComboIndex(int col, int row) const;
    /// Shows item `index` of a combo cell (-1 empties it); false when it has no such item.
    bool setComboIndex(int col, int row, int index);

    /// The cell editor's text while it is open.
    const std::string& editText() const { return editText_; }
    /// Opens the cell editor on the active cell with its entry, caret at the end (as F2 does),
    /// or closes it writing the entry (as Enter does); from code, so without notifications.
    /// False when there is nothing to open it on or the entry was refused.
    bool setEditMode(bool on);
    /// The first visible body column and row.
    int leftColumn() const { return leftCol_; }
    int topRow() const { return topRow_; }
    /// The cell at a point of the client area: a body cell (the anchor of a span), a header
    /// cell (kHeaderIndex) or nothing.
    bool hitTest(ui::Point point, int& col, int& row) const;

    /// The grid's context menu, made on first use. It is shown on a right-click that the
    /// parent leaves unanswered, when it has items. A chosen command the grid does not run
    /// itself goes to the parent as WM_COMMAND, as from a menu.
    ui::PopupMenu& contextMenu();
    bool hasContextMenu() const { return contextMenu_ != nullptr; }
    /// The commands of the context menu that the grid runs itself.
    const Kdr_Array<int>& contextCommands() const { return contextCommands_; }
    /// Grid commands: check or uncheck every check-box cell of the selection.
    static constexpr int kCommandCheckSelection = 0x7F01;
    static constexpr int kCommandUncheckSelection = 0x7F02;
    /// Adds the two check commands to the context menu with the caller's captions.
    void addCheckCommands(const Kdr_String& checkCaption, const Kdr_String& uncheckCaption);
    /// The cell of the last right-click (kHeaderIndex for a header), 0 and 0 before any.
    void lastRightClick(int& col, int& row) const
    {
        col = rightClickCol_;
        row = rightClickRow_;
    }

    /// Who answers F3 (find next, `replace` false) and F5 (replace) in a grid: the grid's own
    /// handler, else the provider every grid shares, else the parent hears GRIDN_FINDREPLACE.
    using FindReplaceHandler = std::function<bool(Kdr_Spread& grid, bool replace)>;
    void setFindReplaceHandler(FindReplaceHandler handler) { findReplaceHandler_ = std::move(handler); }
    static void setFindReplaceProvider(FindReplaceHandler provider);

    // --- Find and replace (Kdr_SpreadFind.cpp) --------------------------------------------
    // These search the cells' displayed texts, letter case ignored, as a person reads them;
    // findForward above searches the values and is what the standards sheets rely on.

    /// Opens the grid's find and replace dialog (find when `replace` is false); when it is
    /// already open, runs replace or find next in it. True when the grid exists.
    bool showFindReplace(bool replace);
    /// Destroys the grid's find dialog; false when it had none.
    bool closeFindReplace();
    /// The open find dialog, or null.
    Kdr_FindReplaceDlg* findReplaceDialog() const { return findDialog_; }
    /// The first column from `startCol` (at least 1) of `row` whose displayed text equals
    /// `text` (or contains it, with `partial`); -1 when none does, when `row` is outside the
    /// sheet or when `text` is empty.
    int findInRow(const Kdr_String& text, bool partial, int row, int startCol) const;
    /// findInRow in `row` from `col`, then in each following row from column 1; no wrap.
    bool findDisplayedForward(const Kdr_String& text, bool partial, int& col, int& row) const;
    /// Every cell (col, row) whose displayed text matches, row by row from (1, 1).
    std::vector<std::pair<int, int>> findAllDisplayed(const Kdr_String& text, bool partial) const;
    /// The position of the first occurrence of `text` at or after `startPos` in the cell's
    /// displayed text; -1 when there is none.
    int findInCell(const Kdr_String& text, int col, int row, int startPos) const;
    /// Finds `text` in the cell as findInCell does and selects it in the cell editor, the cell
    /// active and the grid focused. False (and nothing changed) when it is not found or cannot
    /// be selected in place: a formula cell, a cell that cannot be typed into, or one whose
    /// entry differs from its displayed text there.
    bool selectInCell(const Kdr_String& text, int col, int row, int startPos);
    /// Replaces every occurrence of `text` in the cell's displayed text and writes the result
    /// as plain data. False when there is none, for a formula cell, or when the write fails.
    bool replaceInCell(int col, int row, const Kdr_String& text, const Kdr_String& replacement);
    /// Replaces `text` in every cell that shows it, row by row from (1, 1), and returns the
    /// number of cells changed; nothing happens for an empty `text`.
    int replaceAll(const Kdr_String& text, const Kdr_String& replacement);
    /// Called by the find dialog as it goes.
    void forgetFindReplace(Kdr_FindReplaceDlg* dialog);

    // --- ui::GridControl --------------------------------------------------------------------

    bool revealCell(int col, int row, ui::Rect& rect) override;
    bool isCellEditable(int col, int row) const override;
    bool isEditing() const override { return editing_; }
    bool lastEditRefused() const override { return lastEditRefused_; }
    bool comboCellItems(int col, int row, std::vector<std::string>& items) const override;
    bool chooseComboItemAsUser(int index) override;

    bool PreTranslateMessage(ui::Message& message) override;

protected:
    void OnSize(unsigned type, int cx, int cy) override;
    void OnDestroy() override;
    void OnKillFocus(ui::Window* newFocus) override;
    void OnKeyDown(unsigned key) override;
    void OnChar(unsigned character) override;
    void OnLButtonDown(unsigned flags, ui::Point point) override;
    void OnLButtonDblClk(unsigned flags, ui::Point point) override;
    void OnRButtonDown(unsigned flags, ui::Point point) override;
    void OnContextMenu(ui::Window* window, ui::Point screenPoint) override;

private:
    // Interaction (Kdr_SpreadInput.cpp).
    bool isTabStop(int col, int row) const;
    /// The anchor of the span covering the cell, or the cell itself.
    void anchorOf(int& col, int& row) const;
    std::intptr_t notify(int code, int col, int row, int newCol = 0, int newRow = 0, bool changed = false,
                         int index = -1);
    bool hasListener() const;
    /// Makes a cell active as the user does: selection, scrolling and notifications.
    void moveActiveAsUser(int col, int row);
    bool moveByKey(unsigned key, bool control);
    bool tabAsUser(bool shift);
    bool ensureActiveCell(int& col, int& row);
    bool startEdit(int col, int row, std::string text, bool byTyping);
    void insertTyped(unsigned character);
    bool commitEdit();
    void cancelEdit();
    /// Writes what the user typed into a cell by its type; false when the cell refuses it.
    bool writeTyped(int col, int row, const std::string& text);
    /// The entry as the editor shows it: the data text, or "=" and the formula.
    std::string enteredText(int col, int row) const;
    void toggleCheckAsUser(int col, int row);
    void deleteSelectionAsUser();
    void clickCellAsUser(unsigned flags, int col, int row);
    void runContextCommand(int command);
    int viewWidth() const;
    int viewHeight() const;
    int headerWidth() const;
    int headerHeight() const;

    bool inSheet(int col, int row) const;
    void formatNewRows(int oldCount, int newCount, bool copyLastFormat);
    void formatNewCols(int oldCount, int newCount, bool copyLastFormat);
    bool askHeaderCaption(bool forRow, Kdr_String& caption);
    int clientWidthForColumns() const;
    void setWidthsEqually(const std::vector<int>& columns, int total);
    const Kdr_String& checkPicture(bool on);

    grid::Sheet sheet_;
    Kdr_String fontName_ = "Tahoma";
    int fontHeight_ = 15;
    bool created_ = false;
    int resizeMode_ = 0;
    int resizeFirst_ = 0;
    int resizeSecond_ = 0;
    Kdr_Array<int> resizeColumns_;
    Kdr_Array<int> resizeWidths_;
    Kdr_String checkPictures_[2];
    bool rowHeaderVisible_ = true;
    ui::Window* dialog_ = nullptr;
    int placeholderId_ = 0;

    std::unique_ptr<ui::PopupMenu> contextMenu_;
    Kdr_Array<int> contextCommands_;
    int rightClickCol_ = 0;
    int rightClickRow_ = 0;
    bool rightClickAnswered_ = false;
    FindReplaceHandler findReplaceHandler_;
    int leftCol_ = 1;
    int topRow_ = 1;
    bool editing_ = false;
    bool editByTyping_ = false;
    bool lastEditRefused_ = false;
    bool quiet_ = false;
    int editCol_ = 0;
    int editRow_ = 0;
    std::string editText_;
    std::string editOriginal_;

    // Find and replace (Kdr_SpreadFind.cpp).
    bool matchesDisplayed(const Kdr_String& text, bool partial, int col, int row) const;
    Kdr_FindReplaceDlg* findDialog_ = nullptr;
};

/// Writes a custom-function record to the command line: "Cell Col:%i, Row:%i\n" for a cell
/// reference, then its kind and value ("Result is long: %i\n", "Result is double: %f\n",
/// "Result is string: %s\n", "Result is cell\n", "Result is range\n"). A text record is
/// read and given a fresh block, so it stays valid; when that fails it prints
/// "Reallocate failed\n".
void printSpreadCalcValue(grid::SpreadCalcValue& value);
/// The same for every record of an argument array.
void printSpreadCalcValues(grid::SpreadCalcValue* values, int count);
