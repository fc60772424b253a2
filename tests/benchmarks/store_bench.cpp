#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/scripted_ui.h"
#include "store/data_folder.h"
#include "store/picture.h"
#include "store/picture_files.h"

namespace {

struct TempFolder {
    std::filesystem::path path;
    TempFolder()
    {
        char pattern[] = "/tmp/velquor-bench-XXXXXX";
        if (mkdtemp(pattern))
            path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

Picture facePicture()
{
    Picture p = makePicture(FACE_SIZE, FACE_SIZE, true);
    for (std::size_t i = 0; i < p.pixels.size(); ++i)
        p.pixels[i] = static_cast<std::uint8_t>((i * 7) ^ (i >> 6));
    return p;
}

void BM_SavePicture(benchmark::State& state)
{
    TempFolder folder;
    const Picture p = facePicture();
    const std::string file = folder.path.string() + "\\icon_0.png";
    for (auto _ : state)
        benchmark::DoNotOptimize(savePicture(p, file));
}
BENCHMARK(BM_SavePicture);

void BM_LoadPicture(benchmark::State& state)
{
    TempFolder folder;
    const std::string file = folder.path.string() + "\\icon_0.png";
    savePicture(facePicture(), file);
    for (auto _ : state)
        benchmark::DoNotOptimize(loadPicture(file));
}
BENCHMARK(BM_LoadPicture);

// The whole first-run installation on a fresh profile folder.
void BM_FirstRun(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        TempFolder profile;
        resetScriptedUi();
        scriptedUi.profileFolder = profile.path.string() + "\\";
        state.ResumeTiming();
        prepareDataFolder();
        state.PauseTiming();
        releaseAllPictures();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstRun);

} // namespace
