// Reading a 4096 x 4096 ScansALot scan and a 16-image 1024 x 1024 REAL IMAGIC stack from
// a warm page cache, each against one fread of the data file's bytes in the same run:
// into a fresh buffer (which, like the readers' image buffers, must be faulted in) and
// into a buffer reused across iterations. The statistics update that every reader ends
// with is timed on its own for the same image sizes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "formats/ImageList.h"
#include "formats/imagicReader.h"
#include "formats/salReader.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "image/sampleBuffer.h"

namespace {

using namespace tarnview;

constexpr int scanSide = 4096;
constexpr int stackSide = 1024;
constexpr int stackImages = 16;

std::string workDir;

std::string scanStem() {
    return workDir + "/scan";
}
std::string stackStem() {
    return workDir + "/stack";
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

void writeInputs() {
    std::mt19937 random(12345);
    // Scan: 16-bit samples, 8192-byte rows that fill whole 512-byte records.
    std::vector<uint8_t> scan(size_t(2) * scanSide * scanSide);
    for (auto& b : scan) b = uint8_t(random());
    const std::string side = std::to_string(scanSide);
    const std::string text = " NXP = " + side + "\n NYP = " + side + "\n FILE REC = 512\n";
    writeFile(scanStem() + ".HDR", std::vector<uint8_t>(text.begin(), text.end()));
    writeFile(scanStem() + ".IMG", scan);

    // Stack: little-endian records and float samples.
    std::vector<uint8_t> header(size_t(1024) * stackImages, 0);
    for (int k = 0; k < stackImages; k++) {
        uint8_t* r = header.data() + 1024 * k;
        r[0] = uint8_t(k + 1);
        r[4] = k == 0 ? uint8_t(stackImages - 1) : 0;
        r[12] = 1;
        r[48] = stackSide & 0xFF, r[49] = stackSide >> 8;  // lines
        r[52] = stackSide & 0xFF, r[53] = stackSide >> 8;  // pixelsPerLine
        r[56] = 'R', r[57] = 'E', r[58] = 'A', r[59] = 'L';
    }
    writeFile(stackStem() + ".hed", header);
    std::vector<float> samples(size_t(stackImages) * stackSide * stackSide);
    std::normal_distribution<float> noise(100.0f, 15.0f);
    for (auto& v : samples) v = noise(random);
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(samples.data());
    writeFile(stackStem() + ".img", std::vector<uint8_t>(raw, raw + samples.size() * sizeof(float)));
}

// Sends the readers' messages to /dev/null while a benchmark runs.
class QuietStdout {
  public:
    QuietStdout() {
        std::fflush(stdout);
        saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }

  private:
    int saved;
};

int64_t fileBytes(const std::string& path) {
    return int64_t(std::filesystem::file_size(path));
}

// One fread of the whole file into buffer.
void freadAll(const std::string& path, void* buffer, int64_t bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (std::fread(buffer, 1, size_t(bytes), f) != size_t(bytes)) std::abort();
    std::fclose(f);
}

void freadFresh(benchmark::State& state, const std::string& path) {
    const int64_t bytes = fileBytes(path);
    for (auto _ : state) {
        float* buffer = allocateSamples((bytes + 3) / 4);
        freadAll(path, buffer, bytes);
        benchmark::DoNotOptimize(buffer[0]);
        releaseSamples(buffer);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void freadReused(benchmark::State& state, const std::string& path) {
    const int64_t bytes = fileBytes(path);
    float* buffer = allocateSamples((bytes + 3) / 4);
    freadAll(path, buffer, bytes);
    for (auto _ : state) {
        freadAll(path, buffer, bytes);
        benchmark::DoNotOptimize(buffer[0]);
    }
    releaseSamples(buffer);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_ScanReadSal(benchmark::State& state) {
    const std::string path = scanStem() + ".IMG";
    QuietStdout quiet;
    for (auto _ : state) {
        Image image;
        if (!readSal(image, path.c_str())) state.SkipWithError("readSal failed");
        benchmark::DoNotOptimize(image.getData());
    }
    state.SetBytesProcessed(state.iterations() * fileBytes(path));
}

void BM_ScanFreadFresh(benchmark::State& state) {
    freadFresh(state, scanStem() + ".IMG");
}
void BM_ScanFreadReused(benchmark::State& state) {
    freadReused(state, scanStem() + ".IMG");
}

void BM_StackReadImagic(benchmark::State& state) {
    const std::string path = stackStem() + ".img";
    for (auto _ : state) {
        ImageList* list = readImagic(path.c_str());
        if (count(list) != stackImages) state.SkipWithError("readImagic failed");
        destroyWithImages(list);
    }
    state.SetBytesProcessed(state.iterations() * fileBytes(path));
}

void BM_StackFreadFresh(benchmark::State& state) {
    freadFresh(state, stackStem() + ".img");
}
void BM_StackFreadReused(benchmark::State& state) {
    freadReused(state, stackStem() + ".img");
}

// The statistics update alone, on an image of the given side (the readers' last step).
void BM_UpdateStatistics(benchmark::State& state) {
    const int side = int(state.range(0));
    Image image;
    image.resize(side, side, 1);
    std::mt19937 random(7);
    float* data = image.getData();
    for (int64_t i = 0; i < int64_t(side) * side; i++) data[i] = float(random() & 0xFFFF);
    for (auto _ : state) image.updateStatistics();
}

BENCHMARK(BM_ScanReadSal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScanFreadFresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScanFreadReused)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StackReadImagic)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StackFreadFresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StackFreadReused)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UpdateStatistics)->Arg(scanSide)->Arg(stackSide)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    char pattern[] = "/tmp/benchSalImagicXXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    workDir = pattern;
    writeInputs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(workDir);
    return 0;
}
