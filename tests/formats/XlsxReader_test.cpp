#include "formats/SheetFiles.h"
#include "formats/WorkbookTestSupport.h"
#include "grid/Sheet.h"
#include "grid/formula/ReferenceText.h"

#include <gtest/gtest.h>

namespace
{
using formatstest::makeXlsx;
using formatstest::makeZip;

using formatstest::dump;
using formatstest::Read;

std::unique_ptr<Read> readXlsx(const std::string& bytes, const std::string& sheetName = "",
                               const formats::ReadLimits& limits = {})
{
    return formatstest::readWorkbookBytes(bytes, formats::WorkbookKind::Xlsx, sheetName, limits);
}

const char* const kStrings = "<si><t>Width</t></si><si><r><t>ri</t></r><r><rPr><b/></rPr><t>ch</t></r></si>"
                             "<si><t>123</t></si><si><t>line_x000D_feed</t></si>";

TEST(XlsxReader, ReadsEveryKindOfValueAndCalculatesFormulas)
{
    auto read = readXlsx(
        makeXlsx("<dimension ref=\"A1:D4\"/><sheetData>"
                 "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                 "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c></row>"
                 "<row r=\"2\"><c r=\"A2\"><v>200.5</v></c><c r=\"B2\"><f>A2*2</f><v>999</v></c>"
                 "<c r=\"C2\" t=\"b\"><v>1</v></c><c r=\"D2\" t=\"e\"><v>#N/A</v></c></row>"
                 "<row r=\"3\"><c r=\"A3\"><v>1E-3</v></c>"
                 "<c r=\"B3\"><f t=\"shared\" ref=\"B3:B4\" si=\"0\">Loads!A3+$A$2</f></c>"
                 "<c r=\"C3\" t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r></is></c>"
                 "<c r=\"D3\" t=\"str\"><f>_xlfn.CONCATENATE(A1,\"!\")</f><v>old</v></c></row>"
                 "<row r=\"4\"><c r=\"A4\"><v>4</v></c><c r=\"B4\"><f t=\"shared\" si=\"0\"/></c></row>"
                 "</sheetData>",
                 kStrings));
    ASSERT_TRUE(read->ok) << read->error;
    EXPECT_EQ(dump(read->sheet),
              "A1=Width\nB1=rich\nC1=123\nD1=line\rfeed\n"
              "A2=200.5\nB2=401 [=A2*2]\nC2=TRUE [=TRUE]\nD2=#N/A [=#N/A]\n"
              "A3=0.001\nB3=200.501 [=A3+$A$2]\nC3=inline\nD3=Width! [=CONCATENATE(A1,\"!\")]\n"
              "A4=4\nB4=204.5 [=A4+$A$2]\n");
    // A text that reads as a number stays a text.
    EXPECT_TRUE(read->sheet.cellValue(3, 1).isText());
    EXPECT_EQ(read->sheet.maxCols(), 4);
    EXPECT_EQ(read->sheet.maxRows(), 4);
    EXPECT_TRUE(read->remarks.empty());

    // Another worksheet by name, case ignored.
    auto second = readXlsx(makeXlsx("<sheetData/>"), "bolts");
    ASSERT_TRUE(second->ok) << second->error;
    EXPECT_EQ(dump(second->sheet), "A1=2\n");
}

TEST(XlsxReader, TakesOverLayoutAndFormatsAndCountsWhatItCannotHold)
{
    const std::string styles =
        "<numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"#,##0.000\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"yyyy-mm-dd\"/></numFmts>"
        "<fonts><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
        "<font><b/><i/><sz val=\"15\"/><color rgb=\"FFFF0000\"/><name val=\"Arial\"/></font></fonts>"
        "<fills><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
        "patternType=\"gray125\"/></fill>"
        "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FF00FF00\"/></patternFill></fill></fills>"
        "<borders><border/><border><left style=\"thin\"><color indexed=\"12\"/></left><bottom "
        "style=\"dashed\"/>"
        "</border></borders>"
        "<cellXfs><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
        "<xf numFmtId=\"164\" fontId=\"1\" fillId=\"2\" borderId=\"1\"/>"
        "<xf numFmtId=\"165\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
        "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellXfs>";
    auto read = readXlsx(
        makeXlsx("<cols><col min=\"2\" max=\"3\" width=\"20\" customWidth=\"1\"/></cols><sheetData>"
                 "<row r=\"1\" ht=\"30\" customHeight=\"1\"><c r=\"A1\" s=\"1\"><v>1234.5</v></c>"
                 "<c r=\"B1\" s=\"2\"><v>45000</v></c><c r=\"C1\" s=\"3\"><v>7</v></c></row>"
                 "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>0</v></c></row></sheetData>"
                 "<mergeCells><mergeCell ref=\"A3:C4\"/><mergeCell ref=\"B4:D5\"/></mergeCells>"
                 "<conditionalFormatting sqref=\"A1\"/><conditionalFormatting sqref=\"A2\"/>"
                 "<conditionalFormatting sqref=\"A3\"/><hyperlinks><hyperlink ref=\"A1\"/></hyperlinks>"
                 "<legacyDrawing r:id=\"rId9\"/>",
                 kStrings, styles));
    ASSERT_TRUE(read->ok) << read->error;
    const grid::Sheet& sheet = read->sheet;
    const grid::CellType& type = sheet.cellType(1, 1);
    EXPECT_EQ(type.kind, grid::CellType::Kind::Number);
    EXPECT_EQ(type.decimals, 3);
    EXPECT_TRUE(type.thousands);
    EXPECT_EQ(sheet.cellDataText(1, 1), "1,234.500");
    const grid::CellFormat& format = sheet.cellFormat(1, 1);
    EXPECT_EQ(format.font, (grid::Font{"Arial", 20, 700}));
    EXPECT_EQ(format.foreground, 0x0000FFu);
    EXPECT_EQ(format.background, 0x00FF00u);
    EXPECT_EQ(format.border, (grid::Border{1 | 8, 1, 0xFF0000u}));
    EXPECT_EQ(sheet.cellType(3, 1).kind, grid::CellType::Kind::Text);
    EXPECT_EQ(sheet.cellFormat(2, 1), sheet.defaultFormat());
    EXPECT_EQ(sheet.columnWidth(2), 140);
    EXPECT_EQ(sheet.columnWidth(3), 140);
    EXPECT_EQ(sheet.rowHeight(1), 40);
    ASSERT_EQ(sheet.spans().size(), 1u);
    EXPECT_EQ(sheet.spans()[0], (grid::Span{1, 3, 3, 2}));
    EXPECT_EQ(read->remarks, (std::vector<std::string>{"1 italic style ignored",
                                                       "1 date, percent or other number format ignored",
                                                       "3 conditional formats ignored", "1 hyperlink ignored",
                                                       "1 overlapping or invalid merge ignored"}));
}

TEST(XlsxReader, ManyMergesTakeLinearTimeAndOverlapsAreLeftOut)
{
    std::string merges = "<mergeCells>";
    for (int row = 1; row <= 20000; ++row)
        merges += "<mergeCell ref=\"A" + std::to_string(row) + ":B" + std::to_string(row) + "\"/>";
    auto apart = readXlsx(makeXlsx("<sheetData/>" + merges + "</mergeCells>"));
    ASSERT_TRUE(apart->ok) << apart->error;
    EXPECT_EQ(apart->sheet.spans().size(), 20000u);
    EXPECT_EQ(apart->sheet.maxRows(), 20000);
    // One overlap among many: none is kept, rather than placing them one by one.
    auto overlapping =
        readXlsx(makeXlsx("<sheetData/>" + merges + "<mergeCell ref=\"B1:C1\"/></mergeCells>"));
    ASSERT_TRUE(overlapping->ok) << overlapping->error;
    EXPECT_TRUE(overlapping->sheet.spans().empty());
    EXPECT_EQ(overlapping->remarks,
              (std::vector<std::string>{"20001 overlapping or invalid merges ignored"}));
}

TEST(XlsxReader, ReadsNotesFromTheCommentsPart)
{
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    auto read = readXlsx(
        makeXlsx("<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData>", "", "",
                 {{"xl/worksheets/_rels/sheet1.xml.rels",
                   "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                   "<Relationship Id=\"rId1\" Type=\"" +
                       rel + "comments\" Target=\"../comments1.xml\"/></Relationships>"},
                  {"xl/comments1.xml",
                   "<comments><authors><author>x</author></authors><commentList>"
                   "<comment ref=\"B2\" authorId=\"0\"><text><r><t>check </t></r><r><t>this</t></r></text>"
                   "</comment></commentList></comments>"}}));
    ASSERT_TRUE(read->ok) << read->error;
    EXPECT_EQ(read->sheet.cellNote(2, 2), "check this");
}

TEST(XlsxReader, RefusesBadAndHostileFilesWithAReason)
{
    struct Case
    {
        std::string bytes;
        std::string error;
    };
    const Case cases[] = {
        {"plain text, not a zip", "not a readable zip archive"},
        {makeZip({{"xl/workbook.xml", "<workbook/>"}}), "the workbook has no worksheet"},
        {makeXlsx("<sheetData><row r=\"2\"><c r=\"B2\"><f>Bolts!A1*2</f></c></row></sheetData>"),
         "cell B2: formula \"Bolts!A1*2\" does not translate: it refers to the worksheet \"Bolts\""},
        {makeXlsx("<sheetData><row r=\"1\"><c r=\"A1\"><f>SUM(A1:</f></c></row></sheetData>"),
         "cell A1: formula \"SUM(A1:\" does not translate"},
        {makeXlsx("<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>7</v></c></row></sheetData>"),
         "cell A1: shared string 7 does not exist"},
        {makeXlsx("<sheetData><row r=\"1\"><c r=\"A1\"><v>12abc</v></c></row></sheetData>"),
         "cell A1: \"12abc\" is not a number"},
        {makeXlsx("<sheetData><row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row></sheetData>"),
         "the cell reference \"XFE1\" in row 1 is not valid"},
        {makeXlsx("<sheetData><row r=\"1\"><c r=\"B2\"><v>1</v></c></row></sheetData>"),
         "the cell reference \"B2\" in row 1 is not valid"},
        {makeXlsx("<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" + std::string(40000, 'x') +
                  "</t></is></c></row></sheetData>"),
         "cell A1: text longer than 32767 bytes"},
        {makeXlsx("<sheetData><row r=\"1\"><c r=\"A1\"><f>" + std::string(9000, '1') +
                  "</f></c></row></sheetData>"),
         "cell A1: formula longer than 8192 bytes"},
        {makeXlsx("<sheetData>"), "part \"xl/worksheets/sheet1.xml\" is not well-formed XML"},
        // Entities declared in a document type could expand a few bytes into gigabytes or
        // read local files; the declaration alone refuses the part.
        {makeZip({{"xl/workbook.xml",
                   "<!DOCTYPE workbook [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
                   "<workbook><sheets/></workbook>"}}),
         "part \"xl/workbook.xml\" has a document type declaration, which is not accepted"},
    };
    for (const Case& c : cases)
    {
        auto read = readXlsx(c.bytes);
        EXPECT_FALSE(read->ok) << c.error;
        EXPECT_EQ(read->error.substr(0, c.error.size()), c.error);
    }
    auto missing = readXlsx(makeXlsx("<sheetData/>"), "Plates");
    EXPECT_EQ(missing->error, "the workbook has no worksheet \"Plates\"");
}

TEST(XlsxReader, KeepsToItsLimits)
{
    // A worksheet of highly compressible bytes: a small archive that unpacks large.
    std::string rows = "<sheetData>";
    for (int row = 1; row <= 3000; ++row)
        rows += "<row r=\"" + std::to_string(row) + "\"><c r=\"A" + std::to_string(row) +
                "\"><v>1</v></c><c r=\"B" + std::to_string(row) + "\"><v>2</v></c></row>";
    rows += "</sheetData>" + std::string(2'000'000, ' ');
    const std::string bomb = makeXlsx(rows);
    ASSERT_LT(bomb.size(), 200'000u);

    formats::ReadLimits part;
    part.maxPartBytes = 1'000'000;
    EXPECT_EQ(readXlsx(bomb, "", part)->error,
              "part \"xl/worksheets/sheet1.xml\" unpacks to more than 1000000 bytes");
    formats::ReadLimits total;
    total.maxTotalBytes = 1'500'000;
    EXPECT_EQ(readXlsx(bomb, "", total)->error, "the archive unpacks to more than 1500000 bytes");
    formats::ReadLimits cells;
    cells.maxCells = 5999;
    EXPECT_EQ(readXlsx(bomb, "", cells)->error, "the worksheet has more than 5999 cells");
    cells.maxCells = 6000;
    auto read = readXlsx(bomb, "", cells);
    ASSERT_TRUE(read->ok) << read->error;
    EXPECT_EQ(read->sheet.maxRows(), 3000);
}
} // namespace
