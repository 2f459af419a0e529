#include "formats/FormulaTranslation.h"
#include "grid/Sheet.h"

#include <gtest/gtest.h>

namespace
{
struct Case
{
    const char* in;
    const char* out; ///< null: the formula does not translate
};

TEST(ExcelFormula, TranslatesToTheSheetLanguage)
{
    const Case cases[] = {
        {"SUM(A1:A3)*2", "SUM(A1:A3)*2"},
        {"=B2+1", "B2+1"},
        {"_xlfn.CONCAT(A1,B1)", "CONCAT(A1,B1)"},
        {"_xlfn._xlws.SORT(A1:A3)", "SORT(A1:A3)"},
        {"Loads!A1+Loads!$B$2", "A1+$B$2"},
        {"'Loads'!A1:B2", "A1:B2"},
        {"\"Other!A1\"&A1", "\"Other!A1\"&A1"},
        {"\"say \"\"hi\"\"\"&A1", "\"say \"\"hi\"\"\"&A1"},
        {"IF(ISNA(#N/A),#DIV/0!,#REF!)", "IF(ISNA(#N/A),#DIV/0!,#REF!)"},
        {"Other!A1", nullptr},
        {"'It''s'!A1", nullptr},
        {"[1]Loads!A1", nullptr},
        {"Table1[Width]", nullptr},
        {"\"open", nullptr},
    };
    for (const Case& c : cases)
    {
        std::string out, why;
        const bool ok = formats::translateExcelFormula(c.in, "Loads", out, why);
        if (c.out)
        {
            EXPECT_TRUE(ok) << c.in << ": " << why;
            EXPECT_EQ(out, c.out) << c.in;
        }
        else
        {
            EXPECT_FALSE(ok) << c.in << " gave " << out;
            EXPECT_FALSE(why.empty()) << c.in;
        }
    }
    std::string out, why;
    ASSERT_FALSE(formats::translateExcelFormula("Bolts!C3*2", "Loads", out, why));
    EXPECT_EQ(why, "it refers to the worksheet \"Bolts\"");
}

TEST(OpenFormula, TranslatesToTheSheetLanguage)
{
    const Case cases[] = {
        {"of:=[.A1]+[.B2:.C3]", "A1+B2:C3"},
        {"of:=SUM([.A1:.A3];2)", "SUM(A1:A3,2)"},
        {"of:=IF([.$A$1]>0;\"a;b\";\"c\")", "IF($A$1>0,\"a;b\",\"c\")"},
        {"of:=[$Loads.A1]*[Loads.$B$2]", "A1*$B$2"},
        {"of:=['Loads'.A1:'Loads'.A3]", "A1:A3"},
        {"of:=SUM({1;2|3;4})", "SUM({1,2;3,4})"},
        {"of:=COM.MICROSOFT.CONCAT([.A1];[.B1])", "CONCAT(A1,B1)"},
        {"of:=[.#REF!]+1", "#REF!+1"},
        {"=[.A1]", "A1"},
        {"oooc:=[.A1]*2", "A1*2"},
        {"of:=[$Other.A1]", nullptr},
        {"of:=[.A1]~[.B1]", "(A1,B1)"},
        {"of:=SUM([.A1]~[.B1:.B2]~[.C3];1)", "SUM((A1,B1:B2,C3),1)"},
        {"of:=2*-INDEX([.A1:.B2];1;1)~[.C1]+1", "2*-(INDEX(A1:B2,1,1),C1)+1"},
        {"of:=[.A1:.B2]![.B1:.C3]", "A1:B2 B1:C3"},
        {"of:=SUM([.A1:.C3]![.B2:.D4]~[.A1])", "SUM((A1:C3 B2:D4,A1))"},
        {"msoxl:=A1", nullptr},
        {"of:=[.A1", nullptr},
        {"of:=['Loads.A1]", nullptr},
    };
    for (const Case& c : cases)
    {
        std::string out, why;
        const bool ok = formats::translateOpenFormula(c.in, "Loads", out, why);
        if (c.out)
        {
            EXPECT_TRUE(ok) << c.in << ": " << why;
            EXPECT_EQ(out, c.out) << c.in;
        }
        else
        {
            EXPECT_FALSE(ok) << c.in << " gave " << out;
            EXPECT_FALSE(why.empty()) << c.in;
        }
    }
}
// The translated operators mean in the sheet what they meant in the workbook.
TEST(OpenFormula, ReferenceIntersectionAndUnionCalculateAsInTheWorkbook)
{
    grid::Sheet sheet;
    sheet.setMaxCols(6);
    sheet.setMaxRows(6);
    for (int col = 1; col <= 4; ++col)
        for (int row = 1; row <= 4; ++row)
            sheet.setNumber(col, row, col * 10 + row);
    const std::pair<const char*, const char*> cases[] = {
        {"of:=SUM([.A1:.C3]![.B2:.D4])", "22+23+32+33"},
        {"of:=SUM([.A1:.C3] ! [.B2:.D4])", "22+23+32+33"},
        {"of:=SUM([.A1]~[.D4]~[.B1:.B2])", "11+44+21+22"},
        {"of:=SUM([.A1] ~ [.D4])", "11+44"},
        {"of:=COUNT([.A1:.B2]~[.A1:.B2])*2", "COUNT(A1:B2)*2*2"},
        {"of:=[.A1:.A4]![.A3:.D3]", "13"},
    };
    int row = 6;
    for (const auto& [odf, expected] : cases)
    {
        std::string out, why;
        ASSERT_TRUE(formats::translateOpenFormula(odf, "Loads", out, why)) << odf << ": " << why;
        ASSERT_TRUE(sheet.setFormula(5, row, out)) << out;
        ASSERT_TRUE(sheet.setFormula(6, row, expected)) << expected;
        EXPECT_EQ(sheet.cellValueText(5, row), sheet.cellValueText(6, row)) << odf << " read as " << out;
        EXPECT_NE(sheet.cellValueText(6, row).rfind('#', 0), 0u) << expected;
        sheet.setMaxRows(++row);
    }
}
} // namespace
