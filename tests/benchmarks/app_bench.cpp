#include <benchmark/benchmark.h>

#include "app/main_loop.h"
#include "platform/scripted_ui.h"
#include "ring/ring_window.h"
#include "store/picture.h"
#include "store/settings.h"
#include "store/slot_table.h"

namespace {

void prepareRing(int programs)
{
    resetScriptedUi();
    releaseAllPictures();
    settings = Settings{};
    settings.programs = programs;
    settings.radius = 100 + 10 * (programs - 5);
    slotTable.assign(static_cast<std::size_t>(programs) + 1, SlotRecord{"leer", "", EMPTY_MARKER, 0});
    putPicture(EMPTY_LAYER, makePicture(FACE_SIZE, FACE_SIZE, true));
    revealedFlag = 0;
    quitFlag = 0;
}

// One pass that wakes with nothing to do while Ctrl is up.
void BM_IdlePass(benchmark::State& state)
{
    prepareRing(5);
    openAnchor();
    const ScreenPoint hidden = hiddenPosition();
    openRing(hidden.x, hidden.y);
    for (auto _ : state) {
        scriptedUi.events.push_back(UiEvent{});
        benchmark::DoNotOptimize(mainLoopPass());
        scriptedUi.log.clear();
    }
}
BENCHMARK(BM_IdlePass);

void BM_OpenRing(benchmark::State& state)
{
    prepareRing(static_cast<int>(state.range(0)) - 1);
    openAnchor();
    const ScreenPoint hidden = hiddenPosition();
    for (auto _ : state) {
        openRing(hidden.x, hidden.y);
        state.PauseTiming();
        closeWindow(RING_WINDOW);
        scriptedUi.log.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenRing)->Arg(6)->Arg(60);

} // namespace
