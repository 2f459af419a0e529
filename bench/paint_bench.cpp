// Reading bitmaps and painting a dialog full of controls: what the designer does each time a
// template with its picture is opened and each time the user drags a control.

#include "ui/Bitmap.h"
#include "ui/MessageLoop.h"
#include "ui/Static.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>

namespace
{
// A 1024 x 768 picture of stripes, as a template background might be.
ui::Bitmap stripes()
{
    ui::Bitmap b(1024, 768, RGB(255, 255, 255));
    for (int y = 0; y < 768; y += 16)
        b.fillRect(ui::Rect(0, y, 1024, y + 4), RGB(0, 0, 128));
    return b;
}

void BM_ReadBitmap24(benchmark::State& state)
{
    const std::string bytes = stripes().toBytes();
    std::string error;
    for (auto _ : state)
        benchmark::DoNotOptimize(ui::Bitmap::fromBytes(bytes, "bench.bmp", error));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadBitmap24);

void BM_WriteBitmap24(benchmark::State& state)
{
    const ui::Bitmap picture = stripes();
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.toBytes());
}
BENCHMARK(BM_WriteBitmap24);

void BM_MaskFromColour(benchmark::State& state)
{
    const ui::Bitmap picture = stripes();
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.maskFor(RGB(255, 255, 255)));
}
BENCHMARK(BM_MaskFromColour);

// Moving one of N labels repaints it and its parent, as a drag step does.
void BM_RepaintAfterMove(benchmark::State& state)
{
    ui::Window frame;
    frame.Create("Frame", "", WS_POPUP | WS_VISIBLE, ui::Rect(0, 0, 800, 600), nullptr, 0);
    const int labels = static_cast<int>(state.range(0));
    for (int i = 0; i < labels; ++i)
        ui::createControl("STATIC", "Label", WS_CHILD | WS_VISIBLE,
                          ui::Rect(i % 20 * 40, i / 20 * 20, i % 20 * 40 + 38, i / 20 * 20 + 18), &frame,
                          1000 + i);
    ui::MessageLoop::instance().pump();
    ui::Window* moved = frame.GetDlgItem(1000);
    int x = 0;
    for (auto _ : state)
    {
        moved->MoveWindow(x, 0, 38, 18);
        frame.Invalidate();
        x = (x + 1) % 100;
        ui::MessageLoop::instance().pump();
    }
    frame.DestroyWindow();
}
BENCHMARK(BM_RepaintAfterMove)->Arg(10)->Arg(100)->Arg(400);
} // namespace

BENCHMARK_MAIN();
