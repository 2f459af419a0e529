#include "formats/FormulaTranslation.h"

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
        {"of:=[.A1]~[.B1]", nullptr},
        {"of:=[.A1:.B2]![.B1:.C3]", nullptr},
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
} // namespace
