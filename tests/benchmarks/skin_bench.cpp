#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/scripted_ui.h"
#include "skin/face.h"
#include "store/builtin_skins.h"
#include "store/picture_files.h"
#include "store/settings.h"
#include "store/slot_table.h"

namespace {

Picture benchIcon()
{
    Picture icon = makePicture(32, 32, false);
    for (std::size_t i = 0; i < icon.pixels.size(); ++i)
        icon.pixels[i] = static_cast<std::uint8_t>(i * 7 % 256);
    return icon;
}

void useSkin1()
{
    for (int layer = 1; layer <= 3; ++layer)
        putPicture(layer - 1, decodePng(std::string(builtinSkinPng(1, layer))));
}

// A fresh profile folder for the run, removed afterwards.
struct Profile {
    std::filesystem::path dir;
    Profile()
    {
        char pattern[] = "/tmp/velquor-bench-XXXXXX";
        dir = mkdtemp(pattern);
        std::filesystem::create_directories(dir / "velquor_ZV");
        resetScriptedUi();
        scriptedUi.profileFolder = dir.string() + "\\";
    }
    ~Profile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

void BM_ComposeFace32OverSkin1(benchmark::State& state)
{
    Profile profile;
    useSkin1();
    const Picture icon = benchIcon();
    for (auto _ : state)
        benchmark::DoNotOptimize(composeFace(icon, 0));
    releaseAllPictures();
}
BENCHMARK(BM_ComposeFace32OverSkin1);

void BM_AssignSlot(benchmark::State& state)
{
    Profile profile;
    useSkin1();
    settings = Settings{};
    allocateSlotTable();
    const std::string path = "C:\\Tools\\Editor\\edit.exe";
    scriptedUi.shellIcons[path] = benchIcon();
    for (auto _ : state) {
        releaseFace(0);
        benchmark::DoNotOptimize(assignSlot(path, 0));
        scriptedUi.log.clear();
    }
    releaseAllPictures();
    slotTable.clear();
}
BENCHMARK(BM_AssignSlot);

} // namespace
