#include "spread/ZxSSBillOutput.h"

#include "frame/ModuleResources.h"
#include "grid/Csv.h"
#include "host/Clock.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "ui/AcadHost.h"
#include "ui/Dialog.h"

#include <algorithm>
#include <chrono>
#include <ctime>

// ---- The bill window -----------------------------------------------------------------------

/// The modeless window the bill grows in while the host feeds it.
class ZxSSBillWindow : public ui::Dialog
{
public:
    ZxSSBillWindow() : ui::Dialog(IDD_BILL_OUTPUT, adsw_acadMainWnd()) {}
    Kdr_Spread& spread() { return spread_; }

protected:
    bool OnInitDialog() override
    {
        spread_.createInDialog(this, IDC_SS_PLACEHOLDER, false);
        return true;
    }

private:
    Kdr_Spread spread_;
};

ZxSSBillGridHolder::ZxSSBillGridHolder() = default;

ZxSSBillGridHolder::~ZxSSBillGridHolder()
{
    if (window_ && window_->IsWindow())
        window_->DestroyWindow();
}

bool ZxSSBillGridHolder::create()
{
    if (window_ && window_->IsWindow())
        return true;
    auto window = std::make_unique<ZxSSBillWindow>();
    {
        ModuleResourceScope resources;
        if (!window->Create(IDD_BILL_OUTPUT, nullptr))
            return false;
    }
    window_ = std::move(window);
    window_->ShowWindow(SW_SHOW);
    // The user keeps working in the drawing while the bill is made.
    adsw_acadMainWnd()->SetFocus();
    return true;
}

Kdr_Spread* ZxSSBillGridHolder::spread()
{
    if (!window_ || !window_->IsWindow() || !window_->spread().isCreated())
        return nullptr;
    return &window_->spread();
}

// ---- The output ----------------------------------------------------------------------------

ZxSSBillOutput::ZxSSBillOutput() : holder_(std::make_unique<ZxSSBillGridHolder>())
{
}

ZxSSBillOutput::~ZxSSBillOutput() = default;

ZxSSBillOutput::ZxSSBillOutput(const ZxSSBillOutput& other)
    : Kdr_ListOutputCallback(other), image1_(other.image1_), image2_(other.image2_), image3_(other.image3_),
      imageFlag1_(other.imageFlag1_), imageFlag2_(other.imageFlag2_), bill_(other.bill_),
      transaction_(other.transaction_), holder_(std::make_unique<ZxSSBillGridHolder>()),
      currentRow_(other.currentRow_), columnKinds_(other.columnKinds_), billFileName_(other.billFileName_),
      varNames_(other.varNames_), varValues_(other.varValues_), title_(other.title_), writer_(other.writer_)
{
}

ZxSSBillOutput& ZxSSBillOutput::operator=(const ZxSSBillOutput& other)
{
    if (this == &other)
        return *this;
    // The holder and its window stay this object's own.
    image1_ = other.image1_;
    image2_ = other.image2_;
    image3_ = other.image3_;
    imageFlag1_ = other.imageFlag1_;
    imageFlag2_ = other.imageFlag2_;
    bill_ = other.bill_;
    transaction_ = other.transaction_;
    currentRow_ = other.currentRow_;
    columnKinds_ = other.columnKinds_;
    billFileName_ = other.billFileName_;
    varNames_ = other.varNames_;
    varValues_ = other.varValues_;
    title_ = other.title_;
    writer_ = other.writer_;
    return *this;
}

Kdr_Spread* ZxSSBillOutput::getSSPointer()
{
    return holder_ ? holder_->spread() : nullptr;
}

Acad::ErrorStatus ZxSSBillOutput::init(Kdr_String fileName, const Kdr_StringArray& columnNames,
                                       const AcArray<int>& unusedColumnData, const AcArray<int>& columnKinds,
                                       const Kdr_String& settingsFile, const Kdr_StringArray& varNames,
                                       const Kdr_StringArray& varValues)
{
    (void)unusedColumnData;
    if (!holder_)
        return Acad::eNotOpenForWrite;
    holder_->create();
    Kdr_Spread* grid = getSSPointer();
    if (!grid)
        return Acad::eNotOpenForWrite;
    billFileName_ = fileName;
    grid->prepareWithSettings(settingsFile);
    grid->sheet().state().settings["gridType"] = {7};
    grid->sheet().state().settings["gridColor"] = {0x323232};
    varNames_ = varNames;
    varValues_ = varValues;
    grid->setMaxCols(columnNames.length(), true);
    grid->setColumnCaptions(columnNames);
    columnKinds_ = columnKinds;
    return Acad::eOk;
}

void ZxSSBillOutput::setVars(int image1, int image2, int image3, bool flag1, bool flag2, Kdr_Bill* bill,
                             AcTransaction* transaction)
{
    image1_ = image1;
    image2_ = image2;
    image3_ = image3;
    imageFlag1_ = flag1;
    imageFlag2_ = flag2;
    bill_ = bill;
    transaction_ = transaction;
}

Acad::ErrorStatus ZxSSBillOutput::onStartFeed()
{
    if (bill_ && transaction_)
        initBMPDialog(image2_ + 20);
    return Acad::eOk;
}

void ZxSSBillOutput::onAddRow(const Kdr_StringArray& row)
{
    if (!bill_ || !transaction_)
    {
        addRow(row, "");
        return;
    }
    Kdr_String imageFile;
    if (!createImage(row, imageFile, image1_, image2_, image3_, imageFlag1_, imageFlag2_, bill_,
                     transaction_))
        imageFile.clear();
    addRow(row, imageFile);
    if (!imageFile.empty())
        ObjectExportDeleteFile(imageFile);
}

void ZxSSBillOutput::advanceRow(Kdr_Spread& grid)
{
    ++currentRow_;
    if (currentRow_ <= grid.getMaxRows())
        return;
    // New rows start plain: copying the last row's format would hand a subtotal's colours or
    // a picture row's cell types to the next hundred rows.
    grid.setMaxRows(currentRow_ + kGrowRows, false);
    grid.sheet().clearRange(1, currentRow_, std::max(grid.getMaxCols(), 1), currentRow_ + kGrowRows,
                            grid::CellContent::Data);
}

void ZxSSBillOutput::addRow(const Kdr_StringArray& row, const Kdr_String& imageFile)
{
    Kdr_Spread* grid = getSSPointer();
    if (!grid)
        return;
    if (row.length() > grid->getMaxCols())
        grid->setMaxCols(row.length(), true);
    advanceRow(*grid);
    setRowProperties(currentRow_);
    for (int i = 0; i < row.length(); ++i)
        grid->setCellValue(i + 1, currentRow_, row[i]);

    if (imageFile.empty() || !host::fileExists(imageFile))
        return;
    advanceRow(*grid);
    // A file that is not a picture leaves no empty row behind.
    if (!grid->setPictureCell(imageFile, 2, currentRow_))
    {
        --currentRow_;
        return;
    }
    grid->setResourcePictureCell(1, currentRow_, IDB_BILL_PICTURE, false);
}

void ZxSSBillOutput::setRowProperties(const int& row)
{
    Kdr_Spread* grid = getSSPointer();
    if (!grid)
        return;
    const int cols = std::min(grid->getMaxCols(), columnKinds_.length());
    for (int col = 1; col <= cols; ++col)
    {
        switch (columnKinds_[col - 1])
        {
        case kWholeNumber:
            grid->setNumberType(col, row, 0, true);
            break;
        case kOneDecimal:
            grid->setNumberType(col, row, 1, true);
            break;
        case kText:
            grid->setTextType(col, row, col, row, Kdr_Spread::kTextStyle, Kdr_Spread::kTextMaxLength);
            break;
        default:
            break;
        }
        grid->setBorder(col, row, col, row, 0, 0, grid::kDefaultColor);
        grid->sheet().removeSpans(col, row, col, row);
    }
    grid->fitRowHeight(row);
}

void ZxSSBillOutput::onAddSubTotals(const Kdr_StringArray& row, const Kdr_StringArray& second, bool flag,
                                    int count)
{
    (void)second;
    (void)flag;
    (void)count;
    addRow(row, "");
    Kdr_Spread* grid = getSSPointer();
    if (!grid)
        return;
    // A subtotal row may be shorter than the sheet is wide; its missing items are empty.
    const int cols = std::min(grid->getMaxCols(), row.length());
    for (int col = 1; col <= cols; ++col)
    {
        if (row[col - 1].empty())
            continue;
        grid->setBorder(col, currentRow_, col, currentRow_, kSubtotalBorderMask, kSubtotalBorderStyle,
                        kSubtotalBorderColor);
        grid->setColors(col, currentRow_, col, currentRow_, kSubtotalBackground, grid::kDefaultColor);
    }
}

Kdr_String ZxSSBillOutput::printDate()
{
    const std::time_t time = std::chrono::system_clock::to_time_t(host::clock().wallTime());
    std::tm local{};
    localtime_r(&time, &local);
    char buffer[128];
    const size_t length = std::strftime(buffer, sizeof buffer, kDateFormat, &local);
    return Kdr_String(buffer, length);
}

Kdr_String ZxSSBillOutput::printTitle() const
{
    if (!title_.empty())
        return title_;
    Kdr_String title = host::getFileTitle(billFileName_);
    const size_t mark = title.rfind('\xBF');
    if (mark != std::string::npos)
        title.erase(0, mark + 1);
    return title;
}

Acad::ErrorStatus ZxSSBillOutput::onEndFeed()
{
    if (bill_ && transaction_)
        closeBMPDialog();
    Kdr_Spread* grid = getSSPointer();
    if (!grid)
        return Acad::eInvalidInput;
    if (grid->getMaxRows() > currentRow_)
        grid->setMaxRows(currentRow_, false);

    // Pictures do not count for a column's width: they span the whole row.
    const int cols = grid->getMaxCols();
    if (cols > 0)
        grid->sheet().setCellType(1, Kdr_Spread::kHeaderIndex, cols, Kdr_Spread::kHeaderIndex,
                                  grid::CellType::textCell(140, 0));
    for (int col = 1; col <= cols; ++col)
        grid->fitColumnWidth(col, true);

    Kdr_StringArray names{"Date", "Title", "BillFilename"};
    Kdr_StringArray values{printDate(), printTitle(), billFileName_};
    names.append(varNames_);
    values.append(varValues_);
    if (!grid->setSheetVariables(names, values))
        acutPrintf("*Warning* The print variables of the bill cannot be kept: a name or value holds the byte "
                   "0xA4.\n");

    if (!Kdr_Spread::saveSheetWithPictures(grid, billFileName_, writer_))
    {
        acutPrintf("*Error* The bill could not be saved to \"%s\".\n", billFileName_.c_str());
        return Acad::eInvalidInput;
    }
    return Acad::eOk;
}

// ---- CSV -------------------------------------------------------------------------------------

bool writeBillCsv(const Kdr_Spread& sheet, const Kdr_String& fileName)
{
    if (!sheet.isCreated())
        return false;
    const grid::Sheet& source = sheet.sheet();
    const int cols = source.maxCols();
    const int rows = source.maxRows();
    std::vector<int> dataRows;
    dataRows.reserve(static_cast<size_t>(rows));
    for (int row = 1; row <= rows; ++row)
    {
        bool picture = false;
        for (int col = 1; col <= cols && !picture; ++col)
            picture = source.cellTypeCode(col, row) == grid::typeCode(grid::CellType::Kind::Picture);
        if (!picture)
            dataRows.push_back(row);
    }
    // The grid's own CSV writer keeps one dialect for every CSV the program writes; the
    // texts go in as data so they come out exactly as the bill shows its values.
    grid::Sheet csv;
    csv.setAutoCalc(false);
    csv.setMaxCols(cols);
    csv.setMaxRows(static_cast<int>(dataRows.size()) + 1);
    for (int col = 1; col <= cols; ++col)
        csv.setData(col, 1, source.cellDataText(col, Kdr_Spread::kHeaderIndex));
    int target = 2;
    for (int row : dataRows)
    {
        for (int col = 1; col <= cols; ++col)
            if (std::string text = source.cellValueText(col, row); !text.empty())
                csv.setData(col, target, text);
        ++target;
    }
    return host::writeFileAtomically(fileName, grid::writeCsvText(csv));
}
