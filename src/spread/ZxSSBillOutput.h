#pragma once

#include "host/AcTransaction.h"
#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "host/Kdr_Bill.h"
#include "host/Kdr_ListOutputCallback.h"
#include "spread/Kdr_Spread.h"

#include <memory>

class ZxSSBillWindow;

/// Owns the bill's grid window: a modeless dialog made on first use, destroyed with the
/// holder. Each output object has a holder of its own, so every window is destroyed once.
class ZxSSBillGridHolder
{
public:
    ZxSSBillGridHolder();
    ~ZxSSBillGridHolder();
    ZxSSBillGridHolder(const ZxSSBillGridHolder&) = delete;
    ZxSSBillGridHolder& operator=(const ZxSSBillGridHolder&) = delete;

    /// Makes the window when it does not exist yet; false when it cannot be made.
    bool create();
    /// The window's grid, or null before create() or when the grid could not be made.
    Kdr_Spread* spread();

private:
    std::unique_ptr<ZxSSBillWindow> window_;
};

/// The module's output of a host bill into a sheet: one column per bill column, one row per
/// fed row (followed by the part's picture when the host draws one), coloured subtotal rows;
/// at the end the columns are fitted, the print variables "Date", "Title" and "BillFilename"
/// set, and the sheet saved under the bill's file name with its print settings.
class ZxSSBillOutput : public Kdr_ListOutputCallback
{
public:
    /// Column kinds.
    static constexpr int kWholeNumber = 1;
    static constexpr int kOneDecimal = 2;
    static constexpr int kText = 3;
    /// Rows the sheet grows by when the fed rows reach its end.
    static constexpr int kGrowRows = 100;
    /// Subtotal cells: border and background (0x00BBGGRR).
    static constexpr int kSubtotalBorderMask = 31;
    static constexpr int kSubtotalBorderStyle = 1;
    static constexpr grid::Color kSubtotalBorderColor = 0x8000000Bu;
    static constexpr grid::Color kSubtotalBackground = 0xFFD1A4u;
    /// The format of the print date (strftime), in the host's local time.
    static constexpr const char* kDateFormat = "%d %B, %Y (%H:%M)";

    ZxSSBillOutput();
    ~ZxSSBillOutput() override;
    /// Copies settings, bill, transaction, current row, column kinds, file name and variables.
    /// The copy gets a grid holder of its own; its window is made by its own init.
    ZxSSBillOutput(const ZxSSBillOutput& other);
    ZxSSBillOutput& operator=(const ZxSSBillOutput& other);

    /// Opens the grid window and prepares the sheet: the named editor settings, one column per
    /// name with the names as captions. eNotOpenForWrite (337) when no grid can be made.
    /// `unusedColumnData` has no effect.
    Acad::ErrorStatus init(Kdr_String fileName, const Kdr_StringArray& columnNames,
                           const AcArray<int>& unusedColumnData, const AcArray<int>& columnKinds,
                           const Kdr_String& settingsFile, const Kdr_StringArray& varNames,
                           const Kdr_StringArray& varValues);
    /// The picture settings and the host's bill and transaction; pictures are drawn only when
    /// both are given.
    void setVars(int image1, int image2, int image3, bool flag1, bool flag2, Kdr_Bill* bill,
                 AcTransaction* transaction);

    Acad::ErrorStatus onStartFeed() override;
    void onAddRow(const Kdr_StringArray& row) override;
    /// Writes the row and marks its non-empty cells as subtotals; the other arguments are not
    /// used.
    void onAddSubTotals(const Kdr_StringArray& row, const Kdr_StringArray& second, bool flag,
                        int count) override;
    /// Trims and fits the sheet, sets the print variables and saves it. eInvalidInput without
    /// a grid or when the sheet could not be saved (the command line says why).
    Acad::ErrorStatus onEndFeed() override;

    /// The print title; empty (the default) takes the bill file's name without folder and
    /// extension, and after its last 0xBF when it has one.
    void setTitle(const Kdr_String& title) { title_ = title; }
    /// How the sheet is written to the bill file; empty (the default) is the native format.
    void setFileWriter(Kdr_Spread::SheetFileWriter writer) { writer_ = std::move(writer); }

    /// The title the print variables get.
    Kdr_String printTitle() const;
    /// The print date of the current time of the host's clock.
    static Kdr_String printDate();

    int currentRow() const { return currentRow_; }
    const Kdr_String& billFileName() const { return billFileName_; }
    /// The output sheet, or null (tests and tools read the result through it).
    Kdr_Spread* sheet() { return getSSPointer(); }

private:
    Kdr_Spread* getSSPointer();
    void addRow(const Kdr_StringArray& row, const Kdr_String& imageFile);
    void setRowProperties(const int& row);
    void advanceRow(Kdr_Spread& grid);

    int image1_ = -1;
    int image2_ = 0;
    int image3_ = 0;
    bool imageFlag1_ = true;
    bool imageFlag2_ = true;
    Kdr_Bill* bill_ = nullptr;
    AcTransaction* transaction_ = nullptr;
    std::unique_ptr<ZxSSBillGridHolder> holder_;
    int currentRow_ = 0;
    AcArray<int> columnKinds_;
    Kdr_String billFileName_;
    Kdr_StringArray varNames_;
    Kdr_StringArray varValues_;
    Kdr_String title_;
    Kdr_Spread::SheetFileWriter writer_;
};

/// Writes a bill sheet as CSV: the column captions, then every row's value texts (numbers
/// without thousands separators), fields quoted as RFC 4180 asks, records ending in CRLF. Rows
/// that show a picture hold no data and are left out. Written atomically; false when the file
/// cannot be written.
bool writeBillCsv(const Kdr_Spread& sheet, const Kdr_String& fileName);
