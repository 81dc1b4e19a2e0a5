// MRC reading and greyscale rendering of a 4096 x 4096 float image (64 MiB), each
// against its peer measured in the same run:
// - readMrc from a warm page cache against one fread of the whole file into a fresh
//   buffer from the same allocator (readMrc includes the statistics update, measured
//   on its own as well);
// - renderGrey at 1:1 against a plain clamp-and-scale loop over the same floats.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/mrcReader.h"
#include "image/Image.h"
#include "image/render.h"
#include "image/sampleBuffer.h"

namespace {

using tarnview::Image;

constexpr int side = 4096;
constexpr int64_t count = int64_t(side) * side;

// The test file: a host-order float MRC (no byte swapping), written once per process.
const std::string& mrcPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string p = std::string(dir && *dir ? dir : "/tmp") + "/tarnview-bench-4096.mrc";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        int32_t header[256] = {side, side, 1, 2};
        std::fwrite(header, 4, 256, f);
        std::vector<float> row(side);
        for (int y = 0; y < side; y++) {
            for (int x = 0; x < side; x++) row[x] = float((x * 7 + y * 13) % 1000) * 0.25f - 40.0f;
            std::fwrite(row.data(), 4, side, f);
        }
        std::fclose(f);
        return p;
    }();
    return path;
}

Image& readImage() {
    static Image* image = [] {
        auto* i = new Image;
        tarnview::readMrc(*i, mrcPath().c_str());
        return i;
    }();
    return *image;
}

void readMrcFile(benchmark::State& state) {
    const std::string& path = mrcPath();
    for (auto _ : state) {
        Image image;
        benchmark::DoNotOptimize(tarnview::readMrc(image, path.c_str()));
    }
    state.SetBytesProcessed(state.iterations() * count * 4);
}
BENCHMARK(readMrcFile)->Unit(benchmark::kMillisecond);

void freadWholeFile(benchmark::State& state) {
    const std::string& path = mrcPath();
    for (auto _ : state) {
        float* buffer = tarnview::allocateSamples(count + 256);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer, 1, size_t(count + 256) * 4, f));
        std::fclose(f);
        benchmark::DoNotOptimize(buffer[count / 2]);
        tarnview::releaseSamples(buffer);
    }
    state.SetBytesProcessed(state.iterations() * count * 4);
}
BENCHMARK(freadWholeFile)->Unit(benchmark::kMillisecond);

void updateStatisticsAlone(benchmark::State& state) {
    Image& image = readImage();
    for (auto _ : state) benchmark::DoNotOptimize(image.updateStatistics());
}
BENCHMARK(updateStatisticsAlone)->Unit(benchmark::kMillisecond);

void renderGreyOneToOne(benchmark::State& state) {
    Image& image = readImage();
    image.setGreyLimits(-20.0f, 180.0f);
    std::vector<unsigned char> out(count);
    for (auto _ : state) {
        tarnview::renderGrey(image, out.data(), 0, 0, side, side, side, 1.0f, 0, 255);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(renderGreyOneToOne)->Unit(benchmark::kMillisecond);

void clampAndScaleLoop(benchmark::State& state) {
    const float* data = readImage().getData();
    const float low = -20.0f, factor = 255.0f / 200.0f;
    std::vector<unsigned char> out(count);
    for (auto _ : state) {
        for (int64_t i = 0; i < count; i++) {
            float t = (data[i] - low) * factor;
            t = t > 0 ? t : 0;
            t = t < 255 ? t : 255;
            out[i] = (unsigned char)(int(t));
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(clampAndScaleLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
