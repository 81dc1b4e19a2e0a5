#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numeric>

#include "fourier/fftEngine.h"
#include "fourier/fftSizes.h"

namespace tarnview {
namespace {

TEST(FftSizeTable, HoldsTheDivisorsOf720720InAscendingOrder) {
    int previous = 0;
    for (const FftSize& entry : fftSizeTable) {
        EXPECT_GT(entry.size, previous);
        EXPECT_EQ(720720 % entry.size, 0) << entry.size;
        previous = entry.size;
    }
    int divisors = 0;
    for (int d = 1; d <= 720720; ++d) divisors += 720720 % d == 0;
    EXPECT_EQ(divisors, fftSizeCount);
    EXPECT_EQ(fftSizeTable[0].size, 1);
    EXPECT_EQ(fftSizeTable[fftSizeCount - 1].size, 720720);
}

TEST(FftSizeTable, KeepsTheListedCostsAndTheirExtremes) {
    const struct {
        int size;
        float cost;
    } listed[] = {{1, 5.2e-05f},       {2, 6.1e-05f},       {3, 3e-05f},      {4, 5.3e-05f},  {5, 6.6e-05f},
                  {6, 6.7e-05f},       {7, 7.1e-05f},       {8, 6.2e-05f},    {9, 7.9e-05f},  {10, 8e-05f},
                  {11, 5.2e-05f},      {12, 6.9e-05f},      {14, 0.000123f},  {15, 5e-05f},   {16, 8.6e-05f},
                  {120120, 1.153846f}, {144144, 1.153846f}, {180180, 1.875f}, {240240, 2.5f}, {360360, 3.75f},
                  {720720, 7.5f}};
    for (const auto& row : listed) {
        const FftSize* entry = nullptr;
        for (const FftSize& e : fftSizeTable) {
            if (e.size == row.size) entry = &e;
        }
        ASSERT_NE(entry, nullptr) << row.size;
        EXPECT_EQ(entry->cost, row.cost) << row.size;
    }
    for (const FftSize& entry : fftSizeTable) {
        EXPECT_TRUE(std::isfinite(entry.cost));
        if (entry.size != 3) {
            EXPECT_GT(entry.cost, 3e-05f) << entry.size;
        }
        if (entry.size != 720720) {
            EXPECT_LT(entry.cost, 7.5f) << entry.size;
        }
    }
}

TEST(FftSizeTable, SplitsEveryLengthIntoMutuallyPrimeFactorsOfTheEngine) {
    for (const FftSize& entry : fftSizeTable) {
        int rest = entry.size;
        int product = 1;
        for (const int f : fftFactorList) {
            if (rest % f != 0) continue;
            rest /= f;
            EXPECT_EQ(std::gcd(product, f), 1) << entry.size << " factor " << f;
            product *= f;
        }
        EXPECT_EQ(product, entry.size);
    }
}

struct OneArgumentCase {
    int n;
    int expected;
};

TEST(FftSizeAtLeast, GivesTheListedAnswers) {
    const OneArgumentCase cases[] = {
        {0, 1},           {1, 1},  {2, 2},       {17, 18},          {1000, 1001}, {720720, 720720},
        {720721, 720720}, {-5, 1}, {INT_MIN, 1}, {INT_MAX, 720720}, {5039, 5040}, {5041, 5148}};
    for (const auto& c : cases) EXPECT_EQ(fftSizeAtLeast(c.n), c.expected) << c.n;
}

TEST(RealFftSizeAtLeast, GivesTheListedAnswers) {
    const OneArgumentCase cases[] = {{0, 2},
                                     {1, 2},
                                     {7, 8},
                                     {8, 8},
                                     {9, 10},
                                     {17, 18},
                                     {34, 36},
                                     {1441440, 1441440},
                                     {1441441, 1441440},
                                     {INT_MAX, 1441440},
                                     {-7, 2}};
    for (const auto& c : cases) EXPECT_EQ(realFftSizeAtLeast(c.n), c.expected) << c.n;
}

struct RangeCase {
    int nmin;
    int nmax;
    int expected;
};

TEST(FftCheapestSize, GivesTheListedAnswers) {
    const RangeCase cases[] = {{1, 3, 3},
                               {1, 2, 1},
                               {10, 11, 11},
                               {100, 200, 105},
                               {1000, 1100, 1008},
                               {120120, 144144, 120120},
                               {17, 17, 18},
                               {1, 720720, 3},
                               {700000, 800000, 720720},
                               {800000, 900000, 720720},
                               {5, 1, 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(fftCheapestSize(c.nmin, c.nmax), c.expected) << c.nmin << ".." << c.nmax;
    }
}

TEST(RealFftCheapestSize, GivesTheListedAnswers) {
    const RangeCase cases[] = {{1, 5, 6}, {9, 9, 10}, {18, 20, 18}, {INT_MAX, INT_MAX, 1441440}};
    for (const auto& c : cases) {
        EXPECT_EQ(realFftCheapestSize(c.nmin, c.nmax), c.expected) << c.nmin << ".." << c.nmax;
    }
}

}  // namespace
}  // namespace tarnview
