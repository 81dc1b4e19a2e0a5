#include "image/imageMessages.h"

#include "image/messageSink.h"

namespace tarnview {

void printBadStatistics(double mean, double sigma, double edgeMean, double edgeSigma, double sumsq,
                        double sum, double first, double last, double middle, double third) {
    emitMessage("ERROR - Bad statistics on this data set!\n");
    emitMessage("mean=%lf sigma=%lf edgemean=%lf edgesigma=%lf  %lf %lf\n", mean, sigma, edgeMean, edgeSigma,
                sumsq, sum);
    emitMessage("%f %f %f %f\n", first, last, middle, third);
}

void printCannotOpenForWriting() {
    emitMessage("Cannot open file for writing\n");
}

void printCannotWritePgm(const char* path) {
    emitMessage("Error writing %s: the PGM file is incomplete.\n", path);
}

void printImageOutOfMemory(int nx, int ny, int nz) {
    emitMessage("Not enough memory for a %dx%dx%d image\n", nx, ny, nz);
}

void printImageOverSampleLimit(long long nx, long long ny, long long nz, long long limit) {
    emitMessage("Image of %lldx%lldx%lld samples exceeds the limit of %lld samples\n", nx, ny, nz, limit);
}

void printNoMemoryToWrite(const char* path) {
    emitMessage("Not enough memory to write %s\n", path);
}

void printSigmaFactorRefused(double k) {
    emitMessage("Cannot set grey limits at mean +- %g sigma: the factor must be a positive number\n", k);
}

void printPercentRefused(double percent) {
    emitMessage(
        "Cannot saturate %g%% of the samples at each end: the percentage must be from 0 to below 50\n",
        percent);
}

void printNoFiniteSamples() {
    emitMessage("Cannot choose grey limits: the image has no sample that is a finite number\n");
}

}  // namespace tarnview
