#include "app/appMessages.h"

#include "image/messageSink.h"

namespace tarnview {

void printUsage() {
    emitMessage("tarnview version %s\n", TARNVIEW_VERSION);
    emitMessage("Converts MRC, ScansALot or Imagic files to PGM format\n\n");
    emitMessage(
        "tarnview (-mrc -sal -imagic) [-fft] [-v] [-min <mingray>] [-max <maxgray>] <infile> <outfile>\n");
}

void printCannotReadMrc(const char* path) {
    emitMessage("Cannot read %s as a MRC file.\n", path);
}

void printCannotReadSal(const char* path) {
    emitMessage("Cannot read %s as a ScansALot file.\n", path);
}

void printCannotReadImagic(const char* path) {
    emitMessage("Cannot read %s as an IMAGIC file.\n", path);
}

void printBadSection(const char* word) {
    emitMessage("The section after -z must be a number from 0 on, not \"%s\"\n", word);
}

void printSectionNeedsMrc() {
    emitMessage("-z selects a section of an MRC file: use it with -mrc\n");
}

void printImageReport(int nx, int ny, float min, float max, float mean, float sigma, float greyLow,
                      float greyHigh) {
    emitMessage("\nThis image is %d x %d\n", nx, ny);
    emitMessage("greyscale:  min=%5.3g max=%5.3g mean=%5.3g sigma=%5.3g\n", min, max, mean, sigma);
    emitMessage("default greyscale limits %5.3g to %5.3g\n", greyLow, greyHigh);
}

void printNotSquare() {
    emitMessage("Sorry, I can only do FFTs of square images.\n");
}

void printPaddedToValidSize(int size) {
    emitMessage("The image was not a valid size for the FFT routine.\nThe next valid size is %dx%d.\n", size,
                size);
    emitMessage("I have padded the image with noise to continue processing.\n");
}

void printFftUnsuccessful() {
    emitMessage("FFT unsuccessful.\n");
}

void printFftWithPsd() {
    emitMessage("-fft and -psd cannot be used together\n");
}

}  // namespace tarnview
