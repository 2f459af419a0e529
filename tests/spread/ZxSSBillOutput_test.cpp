#include "BillTestSupport.h"
#include "editor/ZxSSEditorSettings.h"
#include "host/Clock.h"
#include "host/CommandLine.h"
#include "spread/ZxSSBillOutput.h"

#include <gtest/gtest.h>

using billtest::EditorEnvironment;

namespace
{
using billtest::H;
using billtest::settingsOf;

/// The local time zone pinned to UTC for one test, so the print date is known.
class UtcScope
{
public:
    UtcScope()
    {
        if (const char* old = std::getenv("TZ"))
            previous_ = old;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcScope()
    {
        if (previous_)
            ::setenv("TZ", previous_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> previous_;
};

/// A bill output initialised with three columns: whole number, one decimal, text.
struct Bill
{
    EditorEnvironment environment;
    ZxSSBillOutput output;
    std::string file;

    explicit Bill(const std::string& name = "bill.zxs") : file(environment.path(name))
    {
        EXPECT_EQ(
            output.init(file, {"Qty", "Weight", "Part"}, {}, {1, 2, 3}, "Missing", {"Project"}, {"P-17"}),
            Acad::eOk);
    }
    Kdr_Spread& sheet() { return *output.sheet(); }
    std::string value(int col, int row) { return sheet().sheet().cellValueText(col, row); }
    grid::Color background(int col, int row) { return sheet().sheet().cellFormat(col, row).background; }
};

} // namespace

TEST(ZxSSBillOutput, InitPreparesOneColumnPerNameWithCaptions)
{
    Bill bill;
    Kdr_Spread& sheet = bill.sheet();
    EXPECT_EQ(sheet.getMaxCols(), 3);
    EXPECT_EQ(sheet.getMaxRows(), 11);
    EXPECT_EQ(bill.sheet().sheet().cellDataText(2, H), "Weight");
    EXPECT_EQ(settingsOf(sheet).fontName, "Tahoma");
    EXPECT_EQ(bill.output.currentRow(), 0);
}

TEST(ZxSSBillOutput, ABillOf150RowsGrowsBy100AndEndsWithExactlyItsRows)
{
    Bill bill;
    std::vector<int> sizes;
    for (int i = 1; i <= 150; ++i)
    {
        bill.output.onAddRow({Kdr_String(i), "12.34", "Plate " + std::to_string(i)});
        if (i == 11 || i == 12 || i == 112 || i == 113)
            sizes.push_back(bill.sheet().getMaxRows());
    }
    EXPECT_EQ(sizes, (std::vector<int>{11, 112, 112, 213}));
    ASSERT_EQ(bill.output.onEndFeed(), Acad::eOk);
    EXPECT_EQ(bill.sheet().getMaxRows(), 150);
    EXPECT_EQ(bill.value(1, 150), "150");
    EXPECT_EQ(bill.value(2, 150), "12.3");
    EXPECT_EQ(bill.sheet().sheet().cellDataText(1, 150), "150");
    EXPECT_EQ(bill.value(3, 1), "Plate 1");

    grid::Sheet saved;
    ASSERT_TRUE(saved.loadFile(bill.file));
    EXPECT_EQ(saved.maxRows(), 150);
    EXPECT_EQ(saved.cellValueText(3, 150), "Plate 150");
}

TEST(ZxSSBillOutput, KindsFormatEachRowAndThousandsAreShown)
{
    Bill bill;
    bill.output.onAddRow({"1234", "5678.25", "HEA 200"});
    EXPECT_EQ(bill.sheet().sheet().cellType(1, 1),
              grid::CellType::number(0, grid::CellType::kNumberMin, grid::CellType::kNumberMax, true));
    EXPECT_EQ(bill.sheet().sheet().cellDataText(1, 1), "1,234");
    EXPECT_EQ(bill.sheet().sheet().cellDataText(2, 1), "5,678.3");
    EXPECT_EQ(bill.sheet().sheet().cellTypeCode(3, 1), 5);
}

TEST(ZxSSBillOutput, AWideRowWidensTheSheetForItAndEveryLaterRow)
{
    Bill bill;
    bill.output.onAddRow({"1", "2", "a"});
    bill.output.onAddRow({"1", "2", "b", "extra", "more"});
    EXPECT_EQ(bill.sheet().getMaxCols(), 5);
    bill.output.onAddRow({"1", "2", "c", "x"});
    EXPECT_EQ(bill.value(5, 2), "more");
    EXPECT_EQ(bill.value(4, 3), "x");
}

TEST(ZxSSBillOutput, SubtotalsMarkOnlyTheirFilledItemsAndShortRowsReadAsEmpty)
{
    Bill bill;
    bill.output.onAddRow({"1", "2", "a"});
    bill.output.onAddSubTotals({"10", "", "total"}, {}, false, 0);
    EXPECT_EQ(bill.background(1, 2), ZxSSBillOutput::kSubtotalBackground);
    EXPECT_EQ(bill.background(2, 2), grid::kDefaultColor);
    EXPECT_EQ(bill.background(3, 2), ZxSSBillOutput::kSubtotalBackground);
    EXPECT_EQ(bill.sheet().sheet().cellFormat(3, 2).border, (grid::Border{31, 1, 0x8000000Bu}));
    EXPECT_EQ(bill.sheet().sheet().cellFormat(2, 2).border, grid::Border{});

    // A subtotal with fewer items than columns marks what it has and nothing beyond.
    bill.output.onAddSubTotals({"5"}, {}, false, 0);
    EXPECT_EQ(bill.background(1, 3), ZxSSBillOutput::kSubtotalBackground);
    EXPECT_EQ(bill.background(2, 3), grid::kDefaultColor);
    EXPECT_EQ(bill.background(3, 3), grid::kDefaultColor);
    EXPECT_EQ(bill.value(3, 3), "");
}

TEST(ZxSSBillOutput, RowsAfterASubtotalAtTheGrowthPointArePlain)
{
    Bill bill;
    for (int i = 0; i < 10; ++i)
        bill.output.onAddRow({"1", "2", "a"});
    bill.output.onAddSubTotals({"10", "20", "sum"}, {}, false, 0); // the sheet's last row, 11
    for (int i = 0; i < 5; ++i)
        bill.output.onAddRow({"1", "2", "b"});
    EXPECT_EQ(bill.background(1, 11), ZxSSBillOutput::kSubtotalBackground);
    for (int row : {12, 16, 50, 111})
        for (int col = 1; col <= 3; ++col)
        {
            EXPECT_EQ(bill.background(col, row), grid::kDefaultColor) << col << "," << row;
            EXPECT_EQ(bill.sheet().sheet().cellFormat(col, row).border, grid::Border{}) << col << "," << row;
        }
}

TEST(ZxSSBillOutput, ThePrintVariablesComeFirstWithDateTitleAndFileName)
{
    UtcScope utc;
    host::ManualClock clock;
    clock.setWallTime(
        std::chrono::system_clock::time_point(std::chrono::seconds(1765175940))); // 2025-12-08 06:39 UTC
    host::ClockOverride pinned(clock);

    Bill bill("Order\xBFSub\xBF"
              "Frame.zxs");
    bill.output.onAddRow({"1", "2", "a"});
    ASSERT_EQ(bill.output.onEndFeed(), Acad::eOk);
    ZxSSEditorSettings settings = settingsOf(bill.sheet());
    EXPECT_EQ(settings.varNames, (Kdr_StringArray{"Date", "Title", "BillFilename", "Project"}));
    EXPECT_EQ(settings.varValues, (Kdr_StringArray{"08 December, 2025 (06:39)", "Frame", bill.file, "P-17"}));

    // The saved file carries the same settings in its corner cell.
    grid::Sheet saved;
    ASSERT_TRUE(saved.loadFile(bill.file));
    ZxSettingsStore store;
    store.parse(saved.cellTag(0, 0));
    Kdr_String title;
    EXPECT_TRUE(store.getText("varValues1", title));
    EXPECT_EQ(title, "Frame");
}

TEST(ZxSSBillOutput, TitleIsTheWholeBaseNameWithoutAMarkOrTheGivenOne)
{
    Bill plain("Main frame.v2.zxs");
    EXPECT_EQ(plain.output.printTitle(), "Main frame.v2");
    plain.output.setTitle("Hall 3");
    EXPECT_EQ(plain.output.printTitle(), "Hall 3");
}

TEST(ZxSSBillOutput, WithoutBillAndTransactionNoPictureIsAskedFor)
{
    host::billPictureRequests().clear();
    Bill bill;
    EXPECT_EQ(bill.output.onStartFeed(), Acad::eOk);
    bill.output.onAddRow({"1", "2", "a"});
    ASSERT_EQ(bill.output.onEndFeed(), Acad::eOk);
    EXPECT_TRUE(host::billPictureRequests().dialogOpens.empty());
    EXPECT_TRUE(host::billPictureRequests().images.empty());
    EXPECT_EQ(host::billPictureRequests().dialogCloses, 0);
}

TEST(ZxSSBillOutput, PicturesTakeARowOfTheirOwnAndTheHostsFileIsDeleted)
{
    host::billPictureRequests().clear();
    Bill bill;
    bill.environment.folder().write("part.bmp", billtest::bitmap(120, 48));
    bill.environment.folder().write("broken.bmp", "not a bitmap");
    Kdr_Bill hostBill;
    hostBill.setPicture(0, bill.environment.path("part.bmp"));
    hostBill.setPicture(1, bill.environment.path("broken.bmp"));
    AcTransaction transaction;
    bill.output.setVars(4, 7, 9, false, true, &hostBill, &transaction);

    bill.output.onStartFeed();
    bill.output.onAddRow({"1", "2", "with picture"});
    bill.output.onAddRow({"3", "4", "broken picture"});
    bill.output.onAddRow({"5", "6", "none"});
    ASSERT_EQ(bill.output.onEndFeed(), Acad::eOk);

    const host::BillPictureRequests& requests = host::billPictureRequests();
    EXPECT_EQ(requests.dialogOpens, (std::vector<int>{27}));
    EXPECT_EQ(requests.dialogCloses, 1);
    ASSERT_EQ(requests.images.size(), 3u);
    EXPECT_EQ(requests.images[0].row, (Kdr_StringArray{"1", "2", "with picture"}));
    EXPECT_EQ(requests.images[0].setting1, 4);
    EXPECT_EQ(requests.images[0].setting2, 7);
    EXPECT_FALSE(requests.images[0].flag1);
    EXPECT_EQ(requests.images[0].bill, &hostBill);
    EXPECT_TRUE(requests.images[2].imageFile.empty());
    for (const host::ImageRequest& request : requests.images)
    {
        if (!request.imageFile.empty())
        {
            EXPECT_FALSE(host::fileExists(request.imageFile)) << request.imageFile;
        }
    }

    // Row 2 holds the picture; the unreadable picture leaves no empty row.
    const grid::Sheet& sheet = bill.sheet().sheet();
    EXPECT_EQ(bill.sheet().getMaxRows(), 4);
    EXPECT_EQ(sheet.cellTypeCode(2, 2), 8);
    EXPECT_EQ(sheet.cellTypeCode(1, 2), 8);
    EXPECT_DOUBLE_EQ(sheet.rowHeight(2), 48);
    grid::Span span;
    ASSERT_TRUE(sheet.getSpan(3, 2, span));
    EXPECT_EQ(span, (grid::Span{2, 2, 3, 1}));
    EXPECT_EQ(bill.value(3, 3), "broken picture");
    EXPECT_EQ(bill.value(3, 4), "none");
    EXPECT_EQ(sheet.cellFormat(1, 2).border, (grid::Border{18, 6, 0x8000000Bu}));
    // A row after the picture row starts with its own types, not the picture's.
    EXPECT_EQ(sheet.cellTypeCode(2, 3), 14);
}

TEST(ZxSSBillOutput, AFailedSaveIsReportedAndLeavesNoFile)
{
    Bill bill("missing-folder/bill.zxs");
    bill.output.onAddRow({"1", "2", "a"});
    host::CommandLineCapture capture;
    EXPECT_EQ(bill.output.onEndFeed(), Acad::eInvalidInput);
    EXPECT_NE(capture.text().find("*Error* The bill could not be saved to \"" + bill.file + "\".\n"),
              std::string::npos)
        << capture.text();
    EXPECT_FALSE(host::fileExists(bill.file));
}

TEST(ZxSSBillOutput, APathWithTheSeparatorByteStillSavesButWarns)
{
    Bill bill("Auftr\xC3\xA4ge.zxs");
    bill.output.onAddRow({"1", "2", "a"});
    host::CommandLineCapture capture;
    ASSERT_EQ(bill.output.onEndFeed(), Acad::eOk);
    EXPECT_NE(capture.text().find("*Warning*"), std::string::npos);
    EXPECT_TRUE(host::fileExists(bill.file));
    // The settings the sheet carries are still whole.
    EXPECT_EQ(settingsOf(bill.sheet()).fontName, "Tahoma");
}

TEST(ZxSSBillOutput, CopiesHaveTheirOwnGridAndEachIsDestroyedOnce)
{
    Bill bill;
    bill.output.onAddRow({"1", "2", "a"});
    {
        ZxSSBillOutput copy(bill.output);
        EXPECT_EQ(copy.currentRow(), 1);
        EXPECT_EQ(copy.billFileName(), bill.file);
        EXPECT_EQ(copy.sheet(), nullptr);
        // Without a grid every feed does nothing and the end reports it.
        copy.onAddRow({"1"});
        EXPECT_EQ(copy.onEndFeed(), Acad::eInvalidInput);

        ZxSSBillOutput assigned;
        EXPECT_EQ(assigned.init(bill.environment.path("other.zxs"), {"A"}, {}, {3}, "", {}, {}), Acad::eOk);
        Kdr_Spread* own = assigned.sheet();
        assigned = bill.output;
        EXPECT_EQ(assigned.sheet(), own);
        EXPECT_EQ(assigned.billFileName(), bill.file);
    }
    bill.output.onAddRow({"3", "4", "b"});
    EXPECT_EQ(bill.value(3, 2), "b");
}

TEST(WriteBillCsv, HeaderRowThenValuesWithoutPictureRows)
{
    Bill bill;
    bill.environment.folder().write("part.bmp", billtest::bitmap(10, 10));
    Kdr_Bill hostBill;
    hostBill.setPicture(0, bill.environment.path("part.bmp"));
    AcTransaction transaction;
    bill.output.setVars(-1, 0, 0, true, true, &hostBill, &transaction);
    bill.output.onAddRow({"1234", "2.25", "Plate, 10 mm"});
    bill.output.onAddSubTotals({"1234", "2.3", "say \"total\""}, {}, false, 0);
    bill.output.onEndFeed();

    const std::string csv = bill.environment.path("bill.csv");
    ASSERT_TRUE(writeBillCsv(bill.sheet(), csv));
    EXPECT_EQ(bill.environment.folder().read("bill.csv"), "Qty,Weight,Part\r\n"
                                                          "1234,2.3,\"Plate, 10 mm\"\r\n"
                                                          "1234,2.3,\"say \"\"total\"\"\"\r\n");
}
