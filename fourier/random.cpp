#include "fourier/random.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace tarnview {

namespace {

// The generator's own copy of the C library's additive feedback generator: the same
// numbers random() gives after srandom() with its default 128-byte state, without the
// lock random() takes on every call.
struct Generator {
    char state[128] = {};
    random_data data = {};
    Generator() { initstate_r(1, state, sizeof state, &data); }
    void seed(unsigned value) { srandom_r(value, &data); }
    long next() {
        int32_t r = 0;
        random_r(&data, &r);
        return r;
    }
};

Generator generator;
bool firstUse = true;

}  // namespace

float uniformRandom(float lo, float hi) {
    if (firstUse) {
        generator.seed(unsigned(std::time(nullptr)));
        firstUse = false;
    }
    const long r = generator.next();  // 0 .. 2147483647
    const float span = hi - lo;
    return float(double(lo) + double(r) / 2147483647.0 * double(span));
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
