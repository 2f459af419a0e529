#include "formats/SheetFiles.h"
#include "formats/WorkbookTestSupport.h"
#include "grid/Sheet.h"
#include "grid/formula/ReferenceText.h"

#include <gtest/gtest.h>

namespace
{
using formatstest::makeOds;

using formatstest::dump;
using formatstest::Read;

std::unique_ptr<Read> readOds(const std::string& bytes, const std::string& sheetName = "")
{
    return formatstest::readWorkbookBytes(bytes, formats::WorkbookKind::Ods, sheetName);
}

TEST(OdsReader, ReadsValuesFormulasAndRepeatsWithoutBlowingUp)
{
    auto read = readOds(makeOds(
        "<table:table table:name=\"Loads\">"
        "<table:table-column table:number-columns-repeated=\"16384\"/>"
        "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>a<text:s "
        "text:c=\"2\"/>b</text:p>"
        "<text:p><text:span>second</text:span> line</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"float\" office:value=\"2.5\" "
        "table:number-columns-repeated=\"2\">"
        "<text:p>2.5</text:p></table:table-cell>"
        "<table:table-cell table:formula=\"of:=SUM([.B1:.C1];[Loads.$B$1])\" office:value-type=\"float\" "
        "office:value=\"0\"/>"
        "<table:table-cell table:number-columns-repeated=\"16380\"/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell office:value-type=\"boolean\" "
        "office:boolean-value=\"true\"/><table:table-cell office:value-type=\"date\" "
        "office:date-value=\"2024-01-15T12:00:00\"/><table:table-cell office:value-type=\"string\">"
        "<text:p>123</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048573\"><table:table-cell "
        "table:number-columns-repeated=\"16384\"/></table:table-row></table:table>"
        "<table:table table:name=\"Bolts\"><table:table-row><table:table-cell office:value-type=\"float\" "
        "office:value=\"7\"/></table:table-row></table:table>"));
    ASSERT_TRUE(read->ok) << read->error;
    EXPECT_EQ(dump(read->sheet), "A1=a  b\nsecond line\nB1=2.5\nC1=2.5\nD1=7.5 [=SUM(B1:C1,$B$1)]\n"
                                 "A2=TRUE [=TRUE]\nB2=45306.5\nC2=123\n"
                                 "A3=TRUE [=TRUE]\nB3=45306.5\nC3=123\n");
    EXPECT_EQ(read->sheet.maxCols(), 4);
    EXPECT_EQ(read->sheet.maxRows(), 3);
    EXPECT_TRUE(read->sheet.cellValue(3, 2).isText());

    auto second =
        readOds(makeOds("<table:table table:name=\"Loads\"/><table:table table:name=\"Bolts\">"
                        "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"7\"/>"
                        "</table:table-row></table:table>"),
                "Bolts");
    ASSERT_TRUE(second->ok) << second->error;
    EXPECT_EQ(dump(second->sheet), "A1=7\n");
}

TEST(OdsReader, TakesOverSpansNotesStylesAndSizes)
{
    const std::string styles =
        "<number:number-style style:name=\"N2\"><number:number number:decimal-places=\"2\" "
        "number:min-decimal-places=\"2\" number:grouping=\"true\"/></number:number-style>"
        "<number:percentage-style style:name=\"P1\"><number:number number:decimal-places=\"0\"/>"
        "<number:text>%</number:text></number:percentage-style>"
        "<style:style style:name=\"co1\" style:family=\"table-column\"><style:table-column-properties "
        "style:column-width=\"1.25in\"/></style:style>"
        "<style:style style:name=\"ro1\" style:family=\"table-row\"><style:table-row-properties "
        "style:row-height=\"0.25in\" style:use-optimal-row-height=\"false\"/></style:style>"
        "<style:style style:name=\"ce1\" style:family=\"table-cell\" style:data-style-name=\"N2\">"
        "<style:table-cell-properties fo:background-color=\"#ffff00\" fo:border-left=\"0.06pt solid "
        "#0000ff\" "
        "fo:border-right=\"none\" fo:border-top=\"0.06pt dotted #0000ff\" fo:border-bottom=\"none\"/>"
        "<style:text-properties fo:font-weight=\"bold\" fo:font-style=\"italic\" fo:color=\"#ff0000\"/>"
        "</style:style>"
        "<style:style style:name=\"ce2\" style:family=\"table-cell\" style:data-style-name=\"P1\"/>";
    auto read = readOds(
        makeOds("<table:table table:name=\"Loads\"><table:table-column table:style-name=\"co1\"/>"
                "<table:table-row table:style-name=\"ro1\"><table:table-cell table:style-name=\"ce1\" "
                "office:value-type=\"float\" office:value=\"1234.5\" table:number-columns-spanned=\"2\" "
                "table:number-rows-spanned=\"2\"><office:annotation><text:p>look</text:p></office:annotation>"
                "</table:table-cell><table:covered-table-cell/><table:table-cell table:style-name=\"ce2\" "
                "office:value-type=\"percentage\" office:value=\"0.5\"/></table:table-row>"
                "<table:table-row><table:covered-table-cell table:number-columns-repeated=\"2\"/>"
                "<table:table-cell "
                "office:value-type=\"string\"><text:p><text:a>link</text:a></text:p></table:table-cell>"
                "</table:table-row></table:table>",
                styles));
    ASSERT_TRUE(read->ok) << read->error;
    const grid::Sheet& sheet = read->sheet;
    EXPECT_EQ(sheet.cellType(1, 1).kind, grid::CellType::Kind::Number);
    EXPECT_EQ(sheet.cellType(1, 1).decimals, 2);
    EXPECT_TRUE(sheet.cellType(1, 1).thousands);
    const grid::CellFormat& format = sheet.cellFormat(1, 1);
    EXPECT_EQ(format.font.weight, 700);
    EXPECT_EQ(format.foreground, 0x0000FFu);
    EXPECT_EQ(format.background, 0x00FFFFu);
    EXPECT_EQ(format.border, (grid::Border{1 | 4, 1, 0xFF0000u}));
    EXPECT_EQ(sheet.cellNote(1, 1), "look");
    ASSERT_EQ(sheet.spans().size(), 1u);
    EXPECT_EQ(sheet.spans()[0], (grid::Span{1, 1, 2, 2}));
    EXPECT_EQ(sheet.columnWidth(1), 120);
    EXPECT_EQ(sheet.rowHeight(1), 24);
    EXPECT_EQ(sheet.cellValueText(3, 1), "0.5");
    EXPECT_EQ(sheet.cellValueText(3, 2), "link");
    EXPECT_EQ(read->remarks, (std::vector<std::string>{"1 italic style ignored",
                                                       "1 date, percent or other number format ignored",
                                                       "1 hyperlink ignored"}));
}

TEST(OdsReader, RefusesWhatDoesNotTranslateNamingTheCell)
{
    struct Case
    {
        std::string tables;
        std::string error;
    };
    const Case cases[] = {
        {"<table:table table:name=\"Loads\"><table:table-row><table:table-cell/><table:table-cell "
         "table:formula=\"of:=[$Bolts.A1]*2\"/></table:table-row></table:table>",
         "cell B1: formula \"of:=[$Bolts.A1]*2\" does not translate: it refers to the worksheet \"Bolts\""},
        {"<table:table table:name=\"Loads\"><table:table-row><table:table-cell "
         "table:formula=\"of:=[.A2]|[.A3]\"/></table:table-row></table:table>",
         "cell A1: formula \"of:=[.A2]|[.A3]\" does not translate: '|' outside an inline array"},
        {"<table:table table:name=\"Loads\"><table:table-row><table:table-cell office:value-type=\"float\" "
         "office:value=\"x\"/></table:table-row></table:table>",
         "cell A1: \"x\" is not a number"},
        {"<table:table table:name=\"Loads\"><table:table-row><table:table-cell office:value-type=\"float\" "
         "office:value=\"1\" table:number-columns-repeated=\"16385\"/></table:table-row></table:table>",
         "a cell of row 1 lies outside the largest sheet"},
        {"", "the workbook has no table"},
    };
    for (const Case& c : cases)
    {
        auto read = readOds(makeOds(c.tables));
        EXPECT_FALSE(read->ok) << c.error;
        EXPECT_EQ(read->error, c.error);
    }
}
} // namespace
