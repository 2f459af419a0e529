// TEXT with number-format codes over 10,000 rows, build and evaluate, one benchmark per kind of
// code, so their ratios show what a fraction, a date or a conditional format costs next to
// the plain decimal code "0.00":
//   decimal "0.00", thousands "#,##0.00;(#,##0.00)", scientific "0.00E+00",
//   date "yyyy-mm-dd hh:mm", elapsed "[h]:mm:ss", fractions "# ?/?" and "# ???/???" (the
//   largest searched denominator by denominator) and "# ?????/?????" (continued fraction),
//   conditional "[<1000]0;[<1000000]0.0,\"K\";0.0,,\"M\"".

#include "grid/Sheet.h"

#include <benchmark/benchmark.h>
#include <string>

namespace
{
const char* const kCodes[] = {
    "0.00",
    "#,##0.00;(#,##0.00)",
    "0.00E+00",
    "yyyy-mm-dd hh:mm",
    "[h]:mm:ss",
    "# ?/?",
    "# ??\?/???",
    "# ????\?/?????",
    "[<1000]0;[<1000000]0.0,\"\"K\"\";0.0,,\"\"M\"\"",
};

void buildTexts(grid::Sheet& sheet, int rows, const std::string& code)
{
    sheet.setMaxCols(2);
    sheet.setMaxRows(rows);
    for (int r = 1; r <= rows; ++r)
    {
        const std::string n = std::to_string(r);
        sheet.setNumber(1, r, r * 37.123457);
        sheet.setFormula(2, r, "=TEXT(A" + n + "/7,\"" + code + "\")");
    }
}

void BM_TextFormats(benchmark::State& state)
{
    const std::string code = kCodes[state.range(0)];
    state.SetLabel(code);
    for (auto _ : state)
    {
        grid::Sheet sheet;
        buildTexts(sheet, 10000, code);
        benchmark::DoNotOptimize(sheet.cellValue(2, 10000));
    }
    grid::Sheet sheet;
    buildTexts(sheet, 1, code);
    if (sheet.cellValue(2, 1).isError())
        state.SkipWithError("TEXT gave an error");
}
BENCHMARK(BM_TextFormats)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
