#pragma once
// Messages printed by the image subsystem, each in one place with its exact text.

namespace tarnview {

/// The three-line report of statistics that came out NaN.
void printBadStatistics(double mean, double sigma, double edgeMean, double edgeSigma, double sumsq,
                        double sum, double first, double last, double middle, double third);
/// "Cannot open file for writing\n"
void printCannotOpenForWriting();
/// A PGM whose bytes could not all be written or whose file could not be closed.
void printCannotWritePgm(const char* path);
/// "Not enough memory for a %dx%dx%d image\n": the samples of an image of that size
/// cannot be allocated (every folder reports it with this one text).
void printImageOutOfMemory(int nx, int ny, int nz);
/// "Image of %lldx%lldx%lld samples exceeds the limit of %lld samples\n": a declared image
/// larger than the reader's limit (image/sampleLimit.h), refused before it is allocated.
void printImageOverSampleLimit(long long nx, long long ny, long long nz, long long limit);
/// "Not enough memory to write %s\n": a file that could not be written for want of memory.
void printNoMemoryToWrite(const char* path);
/// "Cannot set grey limits at mean +- %g sigma: the factor must be a positive number\n"
void printSigmaFactorRefused(double k);
/// "Cannot saturate %g%% of the samples at each end: the percentage must be from 0 to
/// below 50\n"
void printPercentRefused(double percent);
/// "Cannot choose grey limits: the image has no sample that is a finite number\n"
void printNoFiniteSamples();

}  // namespace tarnview
