#include "image/imageMessages.h"

#include <cstdio>

namespace tarnview {

void printBadStatistics(double mean, double sigma, double edgeMean, double edgeSigma, double sumsq,
                        double sum, double first, double last, double middle, double third) {
    std::printf("ERROR - Bad statistics on this data set!\n");
    std::printf("mean=%lf sigma=%lf edgemean=%lf edgesigma=%lf  %lf %lf\n", mean, sigma, edgeMean, edgeSigma,
                sumsq, sum);
    std::printf("%f %f %f %f\n", first, last, middle, third);
}

void printCannotOpenForWriting() {
    std::printf("Cannot open file for writing\n");
}

void printCannotWritePgm(const char* path) {
    std::printf("Error writing %s: the PGM file is incomplete.\n", path);
}

void printImageOutOfMemory(int nx, int ny, int nz) {
    std::printf("Not enough memory for a %dx%dx%d image\n", nx, ny, nz);
}

void printNoMemoryForPgm(const char* path) {
    std::printf("Not enough memory to write %s\n", path);
}

}  // namespace tarnview
