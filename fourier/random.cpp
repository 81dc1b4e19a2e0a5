#include "fourier/random.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace tarnview {

namespace {

// The generator's own copy of the C library's additive feedback generator: the same
// numbers random() gives after srandom() with its default 128-byte state, without the
// lock random() takes on every call. Zero-initialised, so no code runs before main; the
// state is set up when the generator is seeded.
struct Generator {
    alignas(int32_t) char state[128];
    random_data data;
    void seed(unsigned value) { initstate_r(value, state, sizeof state, &data); }
    long next() {
        int32_t r = 0;
        random_r(&data, &r);
        return r;
    }
};

// Each thread draws from a generator of its own, so a thread's sequence is the one a
// single-threaded program would draw, whatever other threads do. Threads after the first
// add their order of first use to the clock, so that two threads seeded in the same
// second still draw different noise.
thread_local Generator generator;
thread_local bool firstUse = true;
std::atomic<unsigned> threadsSeeded{0};

}  // namespace

float uniformRandom(float lo, float hi) {
    if (firstUse) {
        generator.seed(unsigned(std::time(nullptr)) + threadsSeeded.fetch_add(1));
        firstUse = false;
    }
    const long r = generator.next();  // 0 .. 2147483647
    // The span in double too: hi - lo rounded to float can exceed the true span, and the
    // result would then pass hi.
    return float(double(lo) + double(r) / 2147483647.0 * (double(hi) - double(lo)));
}

float gaussianRandom(float mean, float sigma) {
    float u, s;
    do {
        u = uniformRandom(-1.0f, 1.0f);
        const float v = uniformRandom(-1.0f, 1.0f);  // drawn for s only
        s = u * u + v * v;
    } while (s > 1.0f || s == 0.0f);
    const float root = float(std::sqrt(-2.0 * std::log(double(s)) / double(s)));
    return u * root * sigma + mean;
}

void seedRandomForTests(unsigned seed) {
    generator.seed(seed);
    firstUse = false;
}

}  // namespace tarnview
