// Reading one section of a stack against reading a 2-D file of the same size, measured in
// the same run: section 40 of a 64-section 1024 x 1024 float stack (256 MiB) with
// readMrcSection, and a 1024 x 1024 float 2-D file with readMrc, both from a warm page
// cache and in the host's byte order. The section reader seeks to its section, so the two
// read the same 4 MiB of samples; the last line gives the ratio of the medians (or of
// single runs without repetitions), CPU and real time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "formats/mrcReader.h"
#include "image/Image.h"

namespace {

using tarnview::Image;

constexpr int side = 1024;
constexpr int sections = 64;
constexpr int wanted = 40;

// Writes a host-order float MRC of nz sections of side x side; section z holds the same
// pattern shifted by z.
std::string writeFile(const char* name, int nz) {
    const char* dir = std::getenv("TMPDIR");
    const std::string path = std::string(dir && *dir ? dir : "/tmp") + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    int32_t header[256] = {side, side, nz, 2};
    std::fwrite(header, 4, 256, f);
    std::vector<float> row(side);
    for (int z = 0; z < nz; z++)
        for (int y = 0; y < side; y++) {
            for (int x = 0; x < side; x++) row[x] = float((x * 7 + y * 13 + z) % 1000) * 0.25f - 40.0f;
            std::fwrite(row.data(), 4, side, f);
        }
    std::fclose(f);
    return path;
}

const std::string& stackPath() {
    static const std::string path = writeFile("tarnview-bench-stack-64x1024.mrc", sections);
    return path;
}

const std::string& planePath() {
    static const std::string path = writeFile("tarnview-bench-plane-1024.mrc", 1);
    return path;
}

void readSectionOfStack(benchmark::State& state) {
    const std::string& path = stackPath();
    for (auto _ : state) {
        Image image;
        benchmark::DoNotOptimize(tarnview::readMrcSection(image, path.c_str(), wanted));
    }
    state.SetBytesProcessed(state.iterations() * int64_t(side) * side * 4);
}
BENCHMARK(readSectionOfStack)->Unit(benchmark::kMillisecond);

void readPlaneFile(benchmark::State& state) {
    const std::string& path = planePath();
    for (auto _ : state) {
        Image image;
        benchmark::DoNotOptimize(tarnview::readMrc(image, path.c_str()));
    }
    state.SetBytesProcessed(state.iterations() * int64_t(side) * side * 4);
}
BENCHMARK(readPlaneFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double cpu = reporter.cpuTime("readSectionOfStack") / reporter.cpuTime("readPlaneFile");
    const double real = reporter.realTime("readSectionOfStack") / reporter.realTime("readPlaneFile");
    if (!std::isnan(cpu)) std::printf("ratio readMrcSection/readMrc cpu %.2f real %.2f\n", cpu, real);
    benchmark::Shutdown();
    std::remove(stackPath().c_str());
    std::remove(planePath().c_str());
    return 0;
}
