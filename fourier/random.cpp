#include "fourier/random.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace tarnview {

namespace {
bool firstUse = true;
}

float uniformRandom(float lo, float hi) {
    if (firstUse) {
        srandom(unsigned(std::time(nullptr)));
        firstUse = false;
    }
    const long r = random();  // 0 .. 2147483647
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
    srandom(seed);
    firstUse = false;
}

}  // namespace tarnview
