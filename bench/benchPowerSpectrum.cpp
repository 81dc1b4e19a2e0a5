// The averaged power spectrum of a 4096 x 4096 image with 512-pixel tiles (504 used, the
// largest valid transform side below) and 50 % overlap: 256 tiles. With --image=PATH the
// program first writes the image as raw floats for the peer script
// (bench/powerSpectrumPeer.sh), which times numpy's implementation of the same steps on
// it in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

#include "analysis/powerSpectrum.h"
#include "image/Image.h"
#include "image/messageSink.h"

namespace {

using tarnview::Image;

constexpr int side = 4096;

// White noise of sigma 4 around 100 with a slow ramp: a flat spectrum with a bright
// centre, as a micrograph's.
const Image& benchImage() {
    static std::unique_ptr<Image> image = [] {
        auto made = std::make_unique<Image>();
        made->resize(side, side, 1);
        std::mt19937 generator(22);
        std::normal_distribution<float> noise(100.0f, 4.0f);
        float* data = made->getData();
        for (int y = 0; y < side; y++)
            for (int x = 0; x < side; x++)
                data[int64_t(y) * side + x] = noise(generator) + 0.001f * float(x + y);
        made->updateStatistics();
        return made;
    }();
    return *image;
}

void powerSpectrum4096(benchmark::State& state) {
    const Image& image = benchImage();
    for (auto _ : state) {
        tarnview::MessageCapture quiet;  // the tile change is announced every call
        std::unique_ptr<Image> spectrum(tarnview::powerSpectrum(image, 512));
        benchmark::DoNotOptimize(spectrum.get());
    }
}
BENCHMARK(powerSpectrum4096)->Unit(benchmark::kMillisecond);

bool writeImage(const char* path) {
    const Image& image = benchImage();
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const size_t count = size_t(side) * side;
    const bool ok = std::fwrite(image.getData(), sizeof(float), count, out) == count;
    return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; i++)
        if (std::strncmp(argv[i], "--image=", 8) == 0) {
            if (!writeImage(argv[i] + 8)) {
                std::printf("cannot write the image to %s\n", argv[i] + 8);
                return 1;
            }
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * size_t(argc - i));
            argc--;
            break;
        }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
