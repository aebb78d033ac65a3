// The core's speed: code generation, parsing, and the drawing file on disk,
// each against the plainest way to do the same amount of work.
#include "BenchReport.h"
#include "core/code/CodeGenerator.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetHeader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>

using namespace tessaldo;

namespace {

std::vector<DotGrid> RandomGrids(std::size_t count)
{
    std::mt19937 random(1);
    std::vector<DotGrid> grids(count);
    for (DotGrid &grid : grids) {
        for (int dot = 0; dot < kDotCount; ++dot)
            grid.SetDot(dot, random() % 2 ? DotState::Set : DotState::Clear);
    }
    return grids;
}

const std::vector<DotGrid> &Grids()
{
    static const std::vector<DotGrid> grids = RandomGrids(64);
    return grids;
}

std::filesystem::path BenchFolder()
{
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("tessaldo-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void BM_LCDtoCODE(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(LCDtoCODE(Grids()[i++ % Grids().size()]));
}
BENCHMARK(BM_LCDtoCODE);

void BM_BlockCODE(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const DotGrid &grid = Grids()[i++ % Grids().size()];
        benchmark::DoNotOptimize(BlockCODE(grid, static_cast<std::int16_t>((i % kBlockCount) * kDotsPerBlock)));
    }
}
BENCHMARK(BM_BlockCODE);

// The floor for producing a short text: copying the finished code into a new string.
void BM_CopyCodeText(benchmark::State &state)
{
    const std::string code = LCDtoCODE(Grids()[0]);
    for (auto _ : state) {
        std::string copy = code;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyCodeText);

void BM_ParseDrawing(benchmark::State &state)
{
    std::vector<std::string> files;
    for (const DotGrid &grid : Grids())
        files.push_back(FormatDrawing(grid));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseDrawing(files[i++ % files.size()], ReadFrom::File("bench.Lcd")));
}
BENCHMARK(BM_ParseDrawing);

void BM_SaveFile(benchmark::State &state)
{
    const auto path = BenchFolder() / "save.Lcd";
    for (auto _ : state) {
        if (!SaveFile(Grids()[0], path))
            state.SkipWithError("SaveFile failed");
    }
}
BENCHMARK(BM_SaveFile)->UseRealTime();

// The same bytes with a plain write, flush to disk and rename.
void BM_WriteSyncRename(benchmark::State &state)
{
    const std::string bytes = FormatDrawing(Grids()[0]);
    const auto path = BenchFolder() / "plain.Lcd";
    const auto temporary = BenchFolder() / "plain.Lcd.tmp";
    for (auto _ : state) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
        std::rename(temporary.c_str(), path.c_str());
    }
}
BENCHMARK(BM_WriteSyncRename)->UseRealTime();

void BM_OpenFile(benchmark::State &state)
{
    const auto path = BenchFolder() / "open.Lcd";
    SaveFile(Grids()[0], path);
    DotGrid grid;
    for (auto _ : state) {
        if (!OpenFile(grid, path))
            state.SkipWithError("OpenFile failed");
    }
}
BENCHMARK(BM_OpenFile)->UseRealTime();

// The same file read with one read.
void BM_ReadOnce(benchmark::State &state)
{
    const auto path = BenchFolder() / "read.Lcd";
    SaveFile(Grids()[0], path);
    char buffer[512];
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
        ::close(fd);
    }
}
BENCHMARK(BM_ReadOnce)->UseRealTime();

} // namespace

Document ThousandPictures()
{
    Document set;
    set.pictures.clear();
    const std::vector<DotGrid> grids = RandomGrids(1000);
    for (std::size_t i = 0; i < grids.size(); ++i)
        set.pictures.push_back({"icon_" + std::to_string(i), 100, grids[i].AllDots()});
    return set;
}

// A set's header read as a set and written again, as header icons.h --output icons.h does.
void BM_SetOpenSave(benchmark::State &state)
{
    const std::filesystem::path file = "icons.h";
    const std::string header = FormatSetHeader(ThousandPictures(), file, "bench").text;
    for (auto _ : state) {
        const SetReading reading = ReadSet(header, LcdType::Column);
        benchmark::DoNotOptimize(FormatSetHeader(*reading.set, file, "bench").text.data());
    }
}
BENCHMARK(BM_SetOpenSave);

// The same pictures as a thousand drawing files' bytes, parsed and made again.
void BM_DrawingsOpenSave(benchmark::State &state)
{
    std::vector<std::string> files;
    for (const Picture &picture : ThousandPictures().pictures) {
        DotGrid grid;
        grid.SetAllDots(picture.dots);
        files.push_back(FormatDrawing(grid));
    }
    for (auto _ : state) {
        for (const std::string &file : files) {
            DotGrid grid;
            ApplyDrawing(grid, ParseDrawing(file, ReadFrom::File("bench.Lcd")).value());
            benchmark::DoNotOptimize(FormatDrawing(grid).data());
        }
    }
}
BENCHMARK(BM_DrawingsOpenSave);

int main(int argc, char **argv)
{
    const int status = RatioReporter::RunAll(
        argc, argv,
        {
            {"BM_LCDtoCODE", "LCDtoCODE per picture", "BM_CopyCodeText", "ns"},
            {"BM_BlockCODE", "BlockCODE per block", "BM_CopyCodeText", "ns"},
            {"BM_ParseDrawing", "parse a drawing file in memory", "BM_CopyCodeText", "ns"},
            {"BM_SaveFile", "SaveFile", "BM_WriteSyncRename", "us"},
            {"BM_OpenFile", "OpenFile", "BM_ReadOnce", "us"},
            {"BM_SetOpenSave", "set of 1000 pictures in memory, open and save", "BM_DrawingsOpenSave", "us"},
        });
    std::filesystem::remove_all(BenchFolder());
    return status;
}
