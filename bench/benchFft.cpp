// Speed of the prime-factor engine against FFTW's single-precision plans, one thread, in place.
//
// Cases: 1-D complex transforms of lengths 720, 1008, 5040 and 720720 (c1d-N) and 2-D
// complex transforms of N x N (c2d-N: fftComplex2d over the rows, then over the columns).
// Each case is timed for the engine, an FFTW_MEASURE plan (not for 720720, whose measured
// planning takes minutes) and an FFTW_ESTIMATE plan of the same transform; planning is never
// timed. After Google Benchmark's table, one line per case gives
//     ratio <case> <ours/FFTW_MEASURE> <ours/FFTW_ESTIMATE>
// from the median times when repetitions are asked for ("-" where there is no figure).
//
// The data are transformed over and over in place, so their magnitude grows until it
// saturates at infinity; that costs nothing extra on the vector units (only subnormal
// numbers would), and both engines see the same data.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "fourier/fftEngine.h"

namespace {

struct Case {
    std::string name;
    int n;  // length, or side of the square
    bool twoD;
    bool measure;  // whether an FFTW_MEASURE plan is made
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"c1d-720", 720, false, true},   {"c1d-1008", 1008, false, true},
        {"c1d-5040", 5040, false, true}, {"c1d-720720", 720720, false, false},
        {"c2d-720", 720, true, true},    {"c2d-1008", 1008, true, true},
        {"c2d-2520", 2520, true, true},  {"c2d-5040", 5040, true, true},
    };
    return all;
}

long long complexCount(const Case& c) {
    return c.twoD ? static_cast<long long>(c.n) * c.n : c.n;
}

// One buffer, large enough for every case, shared by all plans (FFTW's new-array execute).
fftwf_complex* buffer = nullptr;

void fillRandom(long long count) {
    std::mt19937 generator(1);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (long long i = 0; i < count; ++i) {
        buffer[i][0] = uniform(generator);
        buffer[i][1] = uniform(generator);
    }
}

// The plan of a case, made on first use (outside any timing). Wisdom gathered by measured
// plans is forgotten before an estimated one is made, so that it cannot stand in for it.
std::map<std::string, fftwf_plan> plans;

fftwf_plan planFor(const Case& c, unsigned flags) {
    const std::string key = c.name + (flags == FFTW_ESTIMATE ? "/estimate" : "/measure");
    if (auto it = plans.find(key); it != plans.end()) return it->second;
    if (flags == FFTW_ESTIMATE) fftwf_forget_wisdom();
    fftwf_plan plan = c.twoD ? fftwf_plan_dft_2d(c.n, c.n, buffer, buffer, FFTW_FORWARD, flags)
                             : fftwf_plan_dft_1d(c.n, buffer, buffer, FFTW_FORWARD, flags);
    plans[key] = plan;
    return plan;
}

void runOurs(benchmark::State& state, const Case& c) {
    fillRandom(complexCount(c));
    float* z = &buffer[0][0];
    for (auto _ : state) {
        if (c.twoD) {
            tarnview::fftComplex2d(-1, 1, c.n, c.n, z);
            tarnview::fftComplex2d(-1, 2, c.n, c.n, z);
        } else {
            tarnview::fftComplex(-1, c.n, z);
        }
        benchmark::ClobberMemory();
    }
}

void runFftw(benchmark::State& state, const Case& c, unsigned flags) {
    fftwf_plan plan = planFor(c, flags);
    fillRandom(complexCount(c));
    for (auto _ : state) {
        fftwf_execute_dft(plan, buffer, buffer);
        benchmark::ClobberMemory();
    }
}

void printRatio(double ours, double peer) {
    if (ours > 0 && peer > 0) {  // false for NaN: a case that did not run
        std::printf(" %.2f", ours / peer);
    } else {
        std::printf(" -");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    long long largest = 0;
    for (const Case& c : cases()) largest = std::max(largest, complexCount(c));
    buffer = fftwf_alloc_complex(static_cast<size_t>(largest));

    for (const Case& c : cases()) {
        const auto unit = c.twoD ? benchmark::kMillisecond : benchmark::kMicrosecond;
        benchmark::RegisterBenchmark(("ours/" + c.name).c_str(), [&c](benchmark::State& s) {
            runOurs(s, c);
        })->Unit(unit);
        if (c.measure) {
            benchmark::RegisterBenchmark(("fftwMeasure/" + c.name).c_str(), [&c](benchmark::State& s) {
                runFftw(s, c, FFTW_MEASURE);
            })->Unit(unit);
        }
        benchmark::RegisterBenchmark(("fftwEstimate/" + c.name).c_str(), [&c](benchmark::State& s) {
            runFftw(s, c, FFTW_ESTIMATE);
        })->Unit(unit);
    }

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    for (const Case& c : cases()) {
        const double ours = reporter.cpuTime("ours/" + c.name);
        if (std::isnan(ours)) continue;  // filtered out
        std::printf("ratio %s", c.name.c_str());
        printRatio(ours, reporter.cpuTime("fftwMeasure/" + c.name));
        printRatio(ours, reporter.cpuTime("fftwEstimate/" + c.name));
        std::printf("\n");
    }
    std::fflush(stdout);

    for (auto& [name, plan] : plans) fftwf_destroy_plan(plan);
    fftwf_free(buffer);
    benchmark::Shutdown();
    return 0;
}
