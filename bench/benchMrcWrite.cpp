// MRC writing of a 4096 x 4096 image (64 MiB of floats) to a file in tmpfs (/dev/shm, or
// $TMPDIR when set), each against one fwrite of the same 64 MiB measured in the same run:
// real floats (written straight from the image), 16-bit (packed a chunk at a time) and
// complex floats (amplitude/phase turned into real/imaginary a chunk at a time). Each
// writer also reports peakExtraBytes: how far the process's peak resident memory rose
// above its resident memory during one write (Linux; -1 when it cannot be measured).
// After the runs, one ratio line per writer: its median real and CPU times over the
// peer's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "MedianReporter.h"
#include "formats/mrcWriter.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"

namespace {

using tarnview::Image;

constexpr int side = 4096;
constexpr int64_t count = int64_t(side) * side;

std::string outputPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    const std::string base = dir && *dir ? dir : (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    return base + "/" + name;
}

// A 4096 x 4096 image, real or complex (2048 amplitude/phase pairs per row).
Image& testImage(bool complex) {
    static Image* images[2] = {};
    Image*& image = images[complex ? 1 : 0];
    if (image == nullptr) {
        image = new Image;
        float* v = static_cast<float*>(std::malloc(size_t(count) * 4));
        for (int64_t i = 0; i < count; i++) v[i] = float((i * 7 + i / side * 13) % 1000) * 0.25f - 40.0f;
        if (complex)
            tarnview::setComplexData(*image, v, side, side, 1);
        else
            tarnview::setRealData(*image, v, side, side, 1);
        std::free(v);
    }
    return *image;
}

// One value of /proc/self/status in bytes ("VmRSS", "VmHWM"), or -1.
int64_t statusBytes(const char* key) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return -1;
    char line[256];
    int64_t kib = -1;
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::strncmp(line, key, std::strlen(key)) == 0) kib = std::atoll(line + std::strlen(key) + 1);
    std::fclose(f);
    return kib < 0 ? -1 : kib * 1024;
}

// The rise of the peak resident memory over the resident memory while run runs: writing
// "5" to clear_refs resets the peak to the current resident size.
int64_t peakExtraBytes(const std::function<void()>& run) {
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (f == nullptr || std::fputs("5", f) < 0 || std::fclose(f) != 0) return -1;
    const int64_t before = statusBytes("VmRSS");
    run();
    const int64_t peak = statusBytes("VmHWM");
    return before < 0 || peak < 0 ? -1 : peak - before;
}

void writeMrcFile(benchmark::State& state, bool complex, int sixteenBit) {
    Image& image = testImage(complex);
    const std::string path = outputPath("tarnview-bench-write.mrc");
    for (auto _ : state) benchmark::DoNotOptimize(tarnview::writeMrc(image, path.c_str(), sixteenBit));
    state.counters["peakExtraBytes"] =
        double(peakExtraBytes([&] { tarnview::writeMrc(image, path.c_str(), sixteenBit); }));
    state.SetBytesProcessed(state.iterations() * count * 4);
    std::remove(path.c_str());
}

void writeMrcFloat(benchmark::State& state) {
    writeMrcFile(state, false, 0);
}
BENCHMARK(writeMrcFloat)->Unit(benchmark::kMillisecond);

void writeMrcSixteenBit(benchmark::State& state) {
    writeMrcFile(state, false, 1);
}
BENCHMARK(writeMrcSixteenBit)->Unit(benchmark::kMillisecond);

void writeMrcComplexFloat(benchmark::State& state) {
    writeMrcFile(state, true, 0);
}
BENCHMARK(writeMrcComplexFloat)->Unit(benchmark::kMillisecond);

// The peer: the same 64 MiB of floats in one fwrite to a new file in the same place.
void fwriteWholeImage(benchmark::State& state) {
    const float* data = testImage(false).getData();
    const std::string path = outputPath("tarnview-bench-fwrite.bin");
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(data, 4, size_t(count), f));
        std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * count * 4);
    std::remove(path.c_str());
}
BENCHMARK(fwriteWholeImage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const char* peer = "fwriteWholeImage";
    for (const char* name : {"writeMrcFloat", "writeMrcSixteenBit", "writeMrcComplexFloat"}) {
        const double real = reporter.realTime(name), cpu = reporter.cpuTime(name);
        if (std::isnan(real)) continue;  // filtered out
        std::printf("ratio %s/%s real %.2f cpu %.2f\n", name, peer, real / reporter.realTime(peer),
                    cpu / reporter.cpuTime(peer));
    }
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
