// What the keyboard path of a grid costs: a cell written by typing and Enter, with and without a
// parent listening, against the same cell written from code; and a walk over a row with the
// arrow key.

#include "spread/Kdr_Spread.h"

#include <benchmark/benchmark.h>

namespace
{
/// A parent window that counts the notifications it hears.
class Listener : public ui::Window
{
public:
    long heard = 0;

protected:
    bool OnNotify(ui::NotifyHeader& header, std::intptr_t& result) override
    {
        (void)header;
        result = 0;
        ++heard;
        return true;
    }
};

constexpr int kPlaceholder = 1196;

struct GridInWindow
{
    Listener parent;
    Kdr_Spread grid;

    GridInWindow()
    {
        parent.Create("#32770", "Bench", WS_POPUP, ui::Rect(0, 0, 800, 600), nullptr, 0);
        ui::createControl("STATIC", "", WS_CHILD | WS_VISIBLE, ui::Rect(0, 0, 700, 500), &parent,
                          kPlaceholder);
        grid.createInDialog(&parent, kPlaceholder, true);
        prepare(grid);
    }
    ~GridInWindow() { parent.DestroyWindow(); }

    static void prepare(Kdr_Spread& grid)
    {
        grid.setMaxCols(200, false);
        grid.setMaxRows(50, false);
        grid.setNumberType(1, 1, 200, 50, 2, false);
        grid.sheet().setActiveCell(1, 1);
    }
};

/// Two entries written in turn, so every write changes the cell.
const char* const kEntries[2] = {"1234.5", "987.25"};

void typeAndEnter(Kdr_Spread& grid, const char* entry)
{
    for (char c : std::string(entry))
        grid.SendMessage(WM_CHAR, static_cast<unsigned char>(c));
    ui::Message enter{&grid, WM_KEYDOWN, VK_RETURN, 0};
    grid.PreTranslateMessage(enter);
}

void BM_TypeAndEnterListened(benchmark::State& state)
{
    GridInWindow setup;
    int turn = 0;
    for (auto _ : state)
        typeAndEnter(setup.grid, kEntries[turn++ & 1]);
    benchmark::DoNotOptimize(setup.parent.heard);
}
BENCHMARK(BM_TypeAndEnterListened);

void BM_TypeAndEnterWithoutParent(benchmark::State& state)
{
    Kdr_Spread grid;
    grid.createHidden();
    GridInWindow::prepare(grid);
    int turn = 0;
    for (auto _ : state)
        typeAndEnter(grid, kEntries[turn++ & 1]);
    grid.DestroyWindow();
}
BENCHMARK(BM_TypeAndEnterWithoutParent);

void BM_SetCellValueFromCode(benchmark::State& state)
{
    Kdr_Spread grid;
    grid.createHidden();
    GridInWindow::prepare(grid);
    int turn = 0;
    for (auto _ : state)
        grid.setCellValue(1, 1, Kdr_String(kEntries[turn++ & 1]));
    grid.DestroyWindow();
}
BENCHMARK(BM_SetCellValueFromCode);

void BM_ArrowAcrossARow(benchmark::State& state)
{
    GridInWindow setup;
    for (auto _ : state)
    {
        setup.grid.sheet().setActiveCell(1, 1);
        for (int i = 1; i < 200; ++i)
            setup.grid.SendMessage(WM_KEYDOWN, VK_RIGHT);
    }
    state.SetItemsProcessed(state.iterations() * 199);
}
BENCHMARK(BM_ArrowAcrossARow);
} // namespace

BENCHMARK_MAIN();
