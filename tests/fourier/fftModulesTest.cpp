#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "fourier/fftModules.h"

namespace tarnview {
namespace {

const long double pi = 3.141592653589793238462643383279502884L;

// Distance of two floats in units in the last place.
long ulpDistance(float a, float b) {
    long steps = 0;
    for (float x = std::min(a, b); x < std::max(a, b) && steps < 100; x = std::nextafter(x, 1e30f)) ++steps;
    return steps;
}

struct Literal {
    const char* name;
    float stored;
    const char* asWritten;  // the value as the engine's documentation gives it
    long double formula;
};

TEST(FftModuleConstants, AreTheDocumentedLiteralsAndWithinOneUlpOfTheirFormulas) {
    const long double t = 2 * pi;
    const Literal literals[] = {
        {"half", kHalf, "0.5", -std::cos(t / 3)},
        {"sin3", kSin3, "0.8660254", std::sin(t / 3)},
        {"quarter", kQuarter, "0.25", -(std::cos(t / 5) + std::cos(2 * t / 5)) / 2},
        {"cos5Half", kCos5Half, "0.559017", (std::cos(t / 5) - std::cos(2 * t / 5)) / 2},
        {"sin5[0]", kSin5[0], "0.95105654", std::sin(t / 5)},
        {"sin5[1]", kSin5[1], "0.58778524", std::sin(2 * t / 5)},
        {"cos7[0]", kCos7[0], "0.6234898", std::cos(t / 7)},
        {"cos7[1]", kCos7[1], "-0.22252093", std::cos(2 * t / 7)},
        {"cos7[2]", kCos7[2], "-0.90096885", std::cos(3 * t / 7)},
        {"sin7[0]", kSin7[0], "0.7818315", std::sin(t / 7)},
        {"sin7[1]", kSin7[1], "0.9749279", std::sin(2 * t / 7)},
        {"sin7[2]", kSin7[2], "0.43388373", std::sin(3 * t / 7)},
        {"rootHalf", kRootHalf, "0.70710677", std::cos(t / 8)},
        {"cos9[0]", kCos9[0], "0.76604444", std::cos(t / 9)},
        {"cos9[1]", kCos9[1], "0.17364818", std::cos(2 * t / 9)},
        {"cos9[2]", kCos9[2], "-0.9396926", std::cos(4 * t / 9)},
        {"sin9[0]", kSin9[0], "0.64278764", std::sin(t / 9)},
        {"sin9[1]", kSin9[1], "0.9848077", std::sin(2 * t / 9)},
        {"sin9[2]", kSin9[2], "0.34202015", std::sin(4 * t / 9)},
        {"cos11[0]", kCos11[0], "0.8412535", std::cos(t / 11)},
        {"cos11[1]", kCos11[1], "0.41541502", std::cos(2 * t / 11)},
        {"cos11[2]", kCos11[2], "-0.14231484", std::cos(3 * t / 11)},
        {"cos11[3]", kCos11[3], "-0.65486073", std::cos(4 * t / 11)},
        {"cos11[4]", kCos11[4], "-0.959493", std::cos(5 * t / 11)},
        {"sin11[0]", kSin11[0], "0.54064083", std::sin(t / 11)},
        {"sin11[1]", kSin11[1], "0.90963197", std::sin(2 * t / 11)},
        {"sin11[2]", kSin11[2], "0.98982143", std::sin(3 * t / 11)},
        {"sin11[3]", kSin11[3], "0.7557496", std::sin(4 * t / 11)},
        {"sin11[4]", kSin11[4], "0.28173256", std::sin(5 * t / 11)},
        {"cos13[0]", kCos13[0], "0.885456", std::cos(t / 13)},
        {"cos13[1]", kCos13[1], "0.56806475", std::cos(2 * t / 13)},
        {"cos13[2]", kCos13[2], "0.12053668", std::cos(3 * t / 13)},
        {"cos13[3]", kCos13[3], "-0.3546049", std::cos(4 * t / 13)},
        {"cos13[4]", kCos13[4], "-0.7485107", std::cos(5 * t / 13)},
        {"cos13[5]", kCos13[5], "-0.97094184", std::cos(6 * t / 13)},
        {"sin13[0]", kSin13[0], "0.46472317", std::sin(t / 13)},
        {"sin13[1]", kSin13[1], "0.82298386", std::sin(2 * t / 13)},
        {"sin13[2]", kSin13[2], "0.99270886", std::sin(3 * t / 13)},
        {"sin13[3]", kSin13[3], "0.9350162", std::sin(4 * t / 13)},
        {"sin13[4]", kSin13[4], "0.66312265", std::sin(5 * t / 13)},
        {"sin13[5]", kSin13[5], "0.23931566", std::sin(6 * t / 13)},
        {"cos16", kCos16, "0.9238795", std::cos(t / 16)},
        {"sin16", kSin16, "0.38268343", std::sin(t / 16)},
    };
    // The one stored value that is not the correctly rounded float of its formula.
    const std::string knownException = "cos13[4]";
    for (const Literal& l : literals) {
        EXPECT_EQ(l.stored, std::strtof(l.asWritten, nullptr)) << l.name;
        const float rounded = static_cast<float>(l.formula);
        const long distance = ulpDistance(l.stored, rounded);
        if (l.name == knownException) {
            EXPECT_EQ(distance, 1) << l.name;
        } else {
            EXPECT_EQ(distance, 0) << l.name;
        }
    }
}

// Checks one constant of a rotation's set against cos or sin of 2 pi r e / f.
void expectCos(float stored, int f, int r, int e) {
    const long double exact = std::cos(2 * pi * ((static_cast<long long>(r) * e) % f) / f);
    EXPECT_LE(ulpDistance(stored, static_cast<float>(exact)), 1) << "f " << f << " r " << r << " e " << e;
}
void expectSin(float stored, int f, int r, int e) {
    const long double exact = std::sin(2 * pi * ((static_cast<long long>(r) * e) % f) / f);
    EXPECT_LE(ulpDistance(stored, static_cast<float>(exact)), 1) << "f " << f << " r " << r << " e " << e;
}

TEST(FftModuleConstants, EveryRotationPicksTheCosinesAndSinesOfItsOwnAngles) {
    expectSin(moduleConstantTable<3>.byRotation[1].h, 3, 1, 1);
    expectSin(moduleConstantTable<3>.byRotation[2].h, 3, 2, 1);
    EXPECT_FALSE(moduleConstantTable<4>.byRotation[1].negI);
    EXPECT_TRUE(moduleConstantTable<4>.byRotation[3].negI);
    for (int r = 1; r < 5; ++r) {
        const ModuleConstants<5>& k = moduleConstantTable<5>.byRotation[r];
        const long double half = (std::cos(2 * pi * r / 5) - std::cos(4 * pi * r / 5)) / 2;
        EXPECT_EQ(k.k, static_cast<float>(half) > 0 ? kCos5Half : -kCos5Half) << r;
        expectSin(k.s1, 5, r, 1);
        expectSin(k.s2, 5, r, 2);
    }
    for (int r = 1; r < 7; ++r) {
        for (int q = 1; q <= 3; ++q) {
            expectCos(moduleConstantTable<7>.byRotation[r].c[q - 1], 7, r, q);
            expectSin(moduleConstantTable<7>.byRotation[r].s[q - 1], 7, r, q);
        }
    }
    for (int r = 1; r < 11; ++r) {
        for (int q = 1; q <= 5; ++q) {
            expectCos(moduleConstantTable<11>.byRotation[r].c[q - 1], 11, r, q);
            expectSin(moduleConstantTable<11>.byRotation[r].s[q - 1], 11, r, q);
        }
    }
    for (int r = 1; r < 13; ++r) {
        for (int q = 1; q <= 6; ++q) {
            expectCos(moduleConstantTable<13>.byRotation[r].c[q - 1], 13, r, q);
            expectSin(moduleConstantTable<13>.byRotation[r].s[q - 1], 13, r, q);
        }
    }
    for (const int r : {1, 3, 5, 7}) {
        const ModuleConstants<8>& k = moduleConstantTable<8>.byRotation[r];
        expectCos(k.c1, 8, r, 1);
        expectCos(k.c3, 8, r, 3);
        EXPECT_EQ(k.negI, std::sin(4 * pi * r / 8) < 0) << r;
    }
    for (const int r : {1, 2, 4, 5, 7, 8}) {
        const ModuleConstants<9>& k = moduleConstantTable<9>.byRotation[r];
        expectSin(k.h, 9, r, 3);
        expectCos(k.w1.c, 9, r, 1);
        expectSin(k.w1.s, 9, r, 1);
        expectCos(k.w2.c, 9, r, 2);
        expectSin(k.w2.s, 9, r, 2);
        expectCos(k.w4.c, 9, r, 4);
        expectSin(k.w4.s, 9, r, 4);
    }
    for (int r = 1; r < 16; r += 2) {
        const ModuleConstants<16>& k = moduleConstantTable<16>.byRotation[r];
        EXPECT_EQ(k.negI, std::sin(8 * pi * r / 16) < 0) << r;
        expectCos(k.w1.c, 16, r, 1);
        expectSin(k.w1.s, 16, r, 1);
        expectCos(k.w3.c, 16, r, 3);
        expectSin(k.w3.s, 16, r, 3);
        expectCos(k.w9.c, 16, r, 9);
        expectSin(k.w9.s, 16, r, 9);
        expectCos(k.c2, 16, r, 2);
        expectCos(k.c6, 16, r, 6);
    }
}

}  // namespace
}  // namespace tarnview
