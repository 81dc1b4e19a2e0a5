#pragma once
// The random generator (the system's random/srandom), seeded once from the clock on
// first use. Each thread has its own, so a thread's sequence does not depend on others.

namespace tarnview {

/// A float from lo to hi, both ends included.
float uniformRandom(float lo, float hi);
/// A normally distributed float of that mean and standard deviation (polar method: each
/// call draws two or more uniform values and returns one deviate).
float gaussianRandom(float mean, float sigma);
/// Seeds the calling thread's generator and marks it seeded, for tests that need a known sequence.
/// Production code never calls it.
void seedRandomForTests(unsigned seed);

}  // namespace tarnview
