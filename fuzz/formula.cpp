// Formula text: parsing, printing in both reference styles, and calculation in a small
// sheet with numbers, texts, logicals and errors to read. The printed form of a formula
// must parse again to the same formula with the same value, and structural changes of the
// sheet must leave every formula printable and parseable.

#include "grid/formula/Formula.h"

#include "FuzzSupport.h"
#include "grid/Sheet.h"

#include <string>

namespace
{
// The formula sits in H10 of a 10 x 12 sheet.
constexpr int kCol = 8;
constexpr int kRow = 10;

const grid::Sheet& templateSheet()
{
    static const grid::Sheet sheet = []
    {
        grid::Sheet s;
        s.setMaxCols(10);
        s.setMaxRows(12);
        s.setClock([] { return 45000.5; });
        s.setRandomSeed(7);
        const char* entries[][2] = {
            {"A1", "1"},       {"A2", "2.5"},        {"A3", "-3"},          {"A4", "4"},
            {"A5", "10"},      {"B1", "=\"apple\""}, {"B2", "=\"Banana\""}, {"B3", "=\"12\""},
            {"B4", "=1=1"},    {"C1", "10"},         {"C2", "20"},          {"C3", "30"},
            {"C4", "40"},      {"C5", "50"},         {"D1", "ten"},         {"D2", "twenty"},
            {"E1", "=1/0"},    {"E2", "=\"\""},      {"E3", "45000.75"},    {"A7", "1"},
            {"B7", "2"},       {"C7", "3"},          {"A8", "one"},         {"B8", "two"},
            {"J12", "=J11+1"}, {"J11", "=H10"},
        };
        for (const auto& entry : entries)
        {
            const int col = entry[0][0] - 'A' + 1;
            const int row = std::stoi(entry[0] + 1);
            if (entry[1][0] == '=')
                s.setFormula(col, row, entry[1]);
            else
                s.setData(col, row, entry[1]);
        }
        return s;
    }();
    return sheet;
}

std::string reparsedText(std::string_view text, grid::ReferenceStyle from, grid::ReferenceStyle to)
{
    const grid::ParseResult again = grid::parseFormula(text, kCol, kRow, from);
    if (!again.formula)
        fuzz::fail("a printed formula does not parse", text, again.error);
    return grid::formulaText(*again.formula, kCol, kRow, to);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    const fuzz::Split input = fuzz::splitSelector(fuzz::asText(data, size));
    const auto style = (input.selector & 1) ? grid::ReferenceStyle::R1C1 : grid::ReferenceStyle::A1;
    const std::string_view text = input.rest;

    const grid::ParseResult parsed = grid::parseFormula(text, kCol, kRow, style);
    grid::Sheet sheet(templateSheet());
    sheet.setReferenceStyle(style);
    const bool set = sheet.setFormula(kCol, kRow, text);
    if (set != static_cast<bool>(parsed.formula))
        fuzz::fail("the sheet and the parser disagree on a formula", parsed.error, sheet.lastFormulaError());
    if (!parsed.formula)
    {
        if (parsed.error.empty())
            fuzz::fail("a refused formula gives no reason");
        return 0;
    }
    const grid::Formula& formula = *parsed.formula;

    // Printing is stable, and both styles print the same formula.
    const std::string a1 = grid::formulaText(formula, kCol, kRow, grid::ReferenceStyle::A1);
    const std::string r1c1 = grid::formulaText(formula, kCol, kRow, grid::ReferenceStyle::R1C1);
    const std::string a1Again = reparsedText(a1, grid::ReferenceStyle::A1, grid::ReferenceStyle::A1);
    if (a1Again != a1)
        fuzz::fail("printing a formula is not stable", a1, a1Again);
    const std::string fromR1c1 = reparsedText(r1c1, grid::ReferenceStyle::R1C1, grid::ReferenceStyle::A1);
    if (fromR1c1 != a1)
        fuzz::fail("the R1C1 form of a formula is another formula", a1, fromR1c1);
    (void)grid::formulaReferences(formula, kCol, kRow);

    // The printed formula calculates to the same value as the typed one.
    const std::string value = sheet.cellValueText(kCol, kRow);
    if (!grid::formulaIsVolatile(formula))
    {
        grid::Sheet printed(templateSheet());
        if (!printed.setFormula(kCol, kRow, a1))
            fuzz::fail("the sheet refuses a printed formula", a1, printed.lastFormulaError());
        if (printed.cellValueText(kCol, kRow) != value)
            fuzz::fail("a printed formula calculates to another value", value,
                       printed.cellValueText(kCol, kRow));
    }

    // Changes around the formula: a new input, a copy, rows and columns in and out.
    sheet.setData(1, 1, "7");
    sheet.copyRange(kCol, kRow, kCol, kRow, 2, 3);
    switch ((input.selector >> 1) & 3)
    {
    case 0:
        sheet.insertRows(2, 1);
        break;
    case 1:
        sheet.deleteRows(1, 2);
        break;
    case 2:
        sheet.insertColumns(1, 1);
        break;
    default:
        sheet.deleteColumns(2, 1);
        break;
    }
    sheet.forEachCell(
        [&](int col, int row)
        {
            if (!sheet.hasFormula(col, row))
                return;
            const std::string shifted = sheet.cellFormulaText(col, row);
            const grid::ParseResult again = grid::parseFormula(shifted, col, row, style);
            if (!again.formula)
                fuzz::fail("a shifted formula does not parse", shifted, again.error);
        });
    return 0;
}
