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
    long double formula;
};

TEST(FftModuleConstants, AreTheCorrectlyRoundedValuesOfTheirFormulasButOne) {
    const long double t = 2 * pi;
    const Literal literals[] = {
        {"half3", half3, -std::cos(t / 3)},
        {"sin3", sin3, std::sin(t / 3)},
        {"quarter5", quarter5, -(std::cos(t / 5) + std::cos(2 * t / 5)) / 2},
        {"cos5Half", cos5Half, (std::cos(t / 5) - std::cos(2 * t / 5)) / 2},
        {"sin5[0]", sin5[0], std::sin(t / 5)},
        {"sin5[1]", sin5[1], std::sin(2 * t / 5)},
        {"cos7[0]", cos7[0], std::cos(t / 7)},
        {"cos7[1]", cos7[1], std::cos(2 * t / 7)},
        {"cos7[2]", cos7[2], std::cos(3 * t / 7)},
        {"sin7[0]", sin7[0], std::sin(t / 7)},
        {"sin7[1]", sin7[1], std::sin(2 * t / 7)},
        {"sin7[2]", sin7[2], std::sin(3 * t / 7)},
        {"rootHalf8", rootHalf8, std::cos(t / 8)},
        {"cos9[0]", cos9[0], std::cos(t / 9)},
        {"cos9[1]", cos9[1], std::cos(2 * t / 9)},
        {"cos9[2]", cos9[2], std::cos(4 * t / 9)},
        {"sin9[0]", sin9[0], std::sin(t / 9)},
        {"sin9[1]", sin9[1], std::sin(2 * t / 9)},
        {"sin9[2]", sin9[2], std::sin(4 * t / 9)},
        {"cos11[0]", cos11[0], std::cos(t / 11)},
        {"cos11[1]", cos11[1], std::cos(2 * t / 11)},
        {"cos11[2]", cos11[2], std::cos(3 * t / 11)},
        {"cos11[3]", cos11[3], std::cos(4 * t / 11)},
        {"cos11[4]", cos11[4], std::cos(5 * t / 11)},
        {"sin11[0]", sin11[0], std::sin(t / 11)},
        {"sin11[1]", sin11[1], std::sin(2 * t / 11)},
        {"sin11[2]", sin11[2], std::sin(3 * t / 11)},
        {"sin11[3]", sin11[3], std::sin(4 * t / 11)},
        {"sin11[4]", sin11[4], std::sin(5 * t / 11)},
        {"cos13[0]", cos13[0], std::cos(t / 13)},
        {"cos13[1]", cos13[1], std::cos(2 * t / 13)},
        {"cos13[2]", cos13[2], std::cos(3 * t / 13)},
        {"cos13[3]", cos13[3], std::cos(4 * t / 13)},
        {"cos13[4]", cos13[4], std::cos(5 * t / 13)},
        {"cos13[5]", cos13[5], std::cos(6 * t / 13)},
        {"sin13[0]", sin13[0], std::sin(t / 13)},
        {"sin13[1]", sin13[1], std::sin(2 * t / 13)},
        {"sin13[2]", sin13[2], std::sin(3 * t / 13)},
        {"sin13[3]", sin13[3], std::sin(4 * t / 13)},
        {"sin13[4]", sin13[4], std::sin(5 * t / 13)},
        {"sin13[5]", sin13[5], std::sin(6 * t / 13)},
        {"cos16", cos16, std::cos(t / 16)},
        {"sin16", sin16, std::sin(t / 16)},
    };
    // The one stored value that is not the correctly rounded float of its formula.
    const std::string knownException = "cos13[4]";
    for (const Literal& l : literals) {
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
        EXPECT_EQ(k.k, static_cast<float>(half) > 0 ? cos5Half : -cos5Half) << r;
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
