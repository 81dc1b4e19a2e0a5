#include "app/appMessages.h"

#include <cstdio>

namespace tarnview {

void printUsage() {
    std::printf("tarnview version %s\n", TARNVIEW_VERSION);
    std::printf("Converts MRC, ScansALot or Imagic files to PGM format\n\n");
    std::printf(
        "tarnview (-mrc -sal -imagic) [-fft] [-v] [-min <mingray>] [-max <maxgray>] <infile> <outfile>\n");
}

void printCannotReadMrc(const char* path) {
    std::printf("Cannot read %s as a MRC file.\n", path);
}

void printCannotReadSal(const char* path) {
    std::printf("Cannot read %s as a ScansALot file.\n", path);
}

void printCannotReadImagic(const char* path) {
    std::printf("Cannot read %s as an IMAGIC file.\n", path);
}

void printImageReport(int nx, int ny, float min, float max, float mean, float sigma, float greyLow,
                      float greyHigh) {
    std::printf("\nThis image is %d x %d\n", nx, ny);
    std::printf("greyscale:  min=%5.3g max=%5.3g mean=%5.3g sigma=%5.3g\n", min, max, mean, sigma);
    std::printf("default greyscale limits %5.3g to %5.3g\n", greyLow, greyHigh);
}

void printNotSquare() {
    std::printf("Sorry, I can only do FFTs of square images.\n");
}

void printPaddedToValidSize(int size) {
    std::printf("The image was not a valid size for the FFT routine.\nThe next valid size is %dx%d.\n", size,
                size);
    std::printf("I have padded the image with noise to continue processing.\n");
}

void printFftUnsuccessful() {
    std::printf("FFT unsuccessful.\n");
}

}  // namespace tarnview
