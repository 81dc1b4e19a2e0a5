// Radial Fourier profile and hard circular mask on the amplitude/phase transform layout of
// a 4096 x 4096 image (4098 x 4096 floats of random amplitudes and phases; 4096 is not a
// transform length, so the layout is filled directly), and the mean of 16 real images of
// 1024 x 1024. Each is compared with one plain pass over the same floats in the same run:
// every float read once and added to a double. The profile's cache is cleared before
// every call; the mask is applied again to the same image (the same work each time) and
// includes its statistics update, timed alone too. After Google Benchmark's table the
// program prints, from the medians (or the single runs without repetitions),
//   ratio profile <fourierProfile / plain pass>
//   ratio mask <maskCircle / plain pass> (statistics alone <updateStatistics / plain pass>)
//   ratio average <average / plain pass over the 16 images>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "analysis/averaging.h"
#include "analysis/fourierProfile.h"
#include "analysis/masks.h"
#include "formats/ImageList.h"
#include "image/Image.h"

namespace {

using tarnview::Image;

constexpr int side = 4096;
constexpr int stackSide = 1024;
constexpr int stackCount = 16;

void fillRandom(Image& image, unsigned seed, bool pairs) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> amplitude(0.0f, 50.0f), phase(-3.14159f, 3.14159f);
    float* data = image.getData();
    const int64_t n = int64_t(image.getNx()) * image.getNy();
    for (int64_t i = 0; i < n; i++) data[i] = pairs && i % 2 ? phase(generator) : amplitude(generator);
    image.updateStatistics();
}

Image& transform() {
    static Image image;
    if (image.getNx() == 0) {
        image.resize(side + 2, side, 1);
        image.setFlags(tarnview::complexFlag | tarnview::fourierFlag);
        fillRandom(image, 3, true);
    }
    return image;
}

std::vector<std::unique_ptr<Image>>& stack() {
    static std::vector<std::unique_ptr<Image>> images;
    if (images.empty()) {
        for (int k = 0; k < stackCount; k++) {
            images.push_back(std::make_unique<Image>());
            images.back()->resize(stackSide, stackSide, 1);
            fillRandom(*images.back(), unsigned(k), false);
        }
    }
    return images;
}

double plainSum(const float* data, int64_t n) {
    double sum = 0;
    for (int64_t i = 0; i < n; i++) sum += data[i];
    return sum;
}

void plainPassTransform(benchmark::State& state) {
    Image& image = transform();
    for (auto _ : state) benchmark::DoNotOptimize(plainSum(image.getData(), int64_t(side + 2) * side));
}

void profileRadial(benchmark::State& state) {
    Image& image = transform();
    for (auto _ : state) {
        image.setProfileKind(-1);
        benchmark::DoNotOptimize(tarnview::fourierProfile(image, tarnview::profileRadial, 0, 0));
    }
}

void hardMask(benchmark::State& state) {
    Image& image = transform();
    for (auto _ : state) benchmark::DoNotOptimize(tarnview::maskCircle(image, 0, 0));
}

void statistics(benchmark::State& state) {
    Image& image = transform();
    for (auto _ : state) benchmark::DoNotOptimize(image.updateStatistics());
}

void plainPassStack(benchmark::State& state) {
    auto& images = stack();
    for (auto _ : state) {
        double sum = 0;
        for (auto& image : images) sum += plainSum(image->getData(), int64_t(stackSide) * stackSide);
        benchmark::DoNotOptimize(sum);
    }
}

void averageStack(benchmark::State& state) {
    auto& images = stack();
    tarnview::ImageList list;
    for (auto& image : images) tarnview::append(&list, image.get());
    Image receiver;
    for (auto _ : state) benchmark::DoNotOptimize(tarnview::average(receiver, &list, 0));
}

}  // namespace

int main(int argc, char** argv) {
    const std::pair<const char*, void (*)(benchmark::State&)> cases[] = {
        {"plainPassTransform", plainPassTransform},
        {"profileRadial", profileRadial},
        {"hardMask", hardMask},
        {"statistics", statistics},
        {"plainPassStack", plainPassStack},
        {"averageStack", averageStack},
    };
    for (auto [name, function] : cases)
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto get = [&](const std::string& name) { return reporter.realTime(name + "/real_time"); };
    const double pass = get("plainPassTransform");
    std::printf("\nratio profile %.2f\n", get("profileRadial") / pass);
    std::printf("ratio mask %.2f (statistics alone %.2f)\n", get("hardMask") / pass,
                get("statistics") / pass);
    std::printf("ratio average %.2f\n", get("averageStack") / get("plainPassStack"));
    benchmark::Shutdown();
    return 0;
}
