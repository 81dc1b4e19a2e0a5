// updateStatistics on a 4096 x 4096 real image against a plain double-precision loop
// summing v and v*v over the same floats, in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <random>

#include "image/Image.h"

using namespace tarnview;

namespace {

constexpr int side = 4096;

Image& sampleImage() {
    static Image image;
    static bool filled = false;
    if (!filled) {
        image.resize(side, side, 1);
        std::mt19937 generator(7);
        std::normal_distribution<float> noise(100.0f, 15.0f);
        for (int64_t i = 0; i < int64_t(side) * side; i++) image.getData()[i] = noise(generator);
        filled = true;
    }
    return image;
}

void plainSums(benchmark::State& state) {
    Image& image = sampleImage();
    const float* data = image.getData();
    for (auto _ : state) {
        double sum = 0, sumsq = 0;
        for (int64_t i = int64_t(side) * side - 1; i >= 0; i--) {
            sum += data[i];
            sumsq += double(data[i]) * data[i];
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(sumsq);
    }
}

void updateStatistics(benchmark::State& state) {
    Image& image = sampleImage();
    for (auto _ : state) {
        image.updateStatistics();
        benchmark::DoNotOptimize(image.getMeanDouble());
    }
}

BENCHMARK(plainSums)->Unit(benchmark::kMillisecond);
BENCHMARK(updateStatistics)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
