// Converted-image reading of a 4096 x 4096 raw PGM (16 MiB of samples), against its
// peer measured in the same run: one fread of the whole file into a fresh image-sized
// buffer from the same allocator, plus the statistics update of the image read (the
// pass every reader ends with). The reader's "div=" line goes to /dev/null. The last line
// gives the ratio of the medians (or single runs without repetitions), CPU and real time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "formats/convertedReader.h"
#include "image/Image.h"
#include "image/sampleBuffer.h"

namespace {

using tarnview::Image;

constexpr int side = 4096;
constexpr int64_t count = int64_t(side) * side;

// The test file, written once per process.
const std::string& pgmPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string p = std::string(dir && *dir ? dir : "/tmp") + "/tarnview-bench-4096.pgm";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        std::fprintf(f, "P5\n%d %d\n255\n", side, side);
        std::vector<unsigned char> row(side);
        for (int y = 0; y < side; y++) {
            for (int x = 0; x < side; x++) row[x] = (unsigned char)((x * 7 + y * 13) % 251);
            std::fwrite(row.data(), 1, side, f);
        }
        std::fclose(f);
        return p;
    }();
    return path;
}

// Standard output goes to /dev/null while it lives.
class QuietStdout {
  public:
    QuietStdout() {
        std::fflush(stdout);
        saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }

  private:
    int saved;
};

void readConvertedPgm(benchmark::State& state) {
    const std::string& path = pgmPath();
    const QuietStdout quiet;
    for (auto _ : state) {
        Image image;
        benchmark::DoNotOptimize(tarnview::readConverted(image, path.c_str()));
    }
    state.SetBytesProcessed(state.iterations() * count);
}
BENCHMARK(readConvertedPgm)->Unit(benchmark::kMillisecond);

void freadPlusStatistics(benchmark::State& state) {
    const std::string& path = pgmPath();
    const QuietStdout quiet;
    Image image;
    tarnview::readConverted(image, path.c_str());
    for (auto _ : state) {
        float* buffer = tarnview::allocateSamples(count);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer, 1, size_t(count) + 64, f));
        std::fclose(f);
        benchmark::DoNotOptimize(buffer[count / 8]);
        tarnview::releaseSamples(buffer);
        benchmark::DoNotOptimize(image.updateStatistics());
    }
    state.SetBytesProcessed(state.iterations() * count);
}
BENCHMARK(freadPlusStatistics)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double cpu = reporter.cpuTime("readConvertedPgm") / reporter.cpuTime("freadPlusStatistics");
    const double real = reporter.realTime("readConvertedPgm") / reporter.realTime("freadPlusStatistics");
    if (!std::isnan(cpu)) std::printf("ratio readConverted/fread+statistics cpu %.2f real %.2f\n", cpu, real);
    benchmark::Shutdown();
    return 0;
}
