#include "formats/convertedMessages.h"

#include <cstdio>

namespace tarnview {

void printCannotOpenPicture(const char* path) {
    std::printf("Cannot open file %s\n", path);
}

void printUnknownFileType() {
    std::printf("Sorry, I do not recognize this file type.\n");
}

void printInvalidFile() {
    std::printf("Invalid file\n");
}

void printDivisor(float maximum) {
    std::printf("div=%f\n", double(maximum));
}

void printSampleOutOfRange(int index, float value) {
    std::printf("%d,%g\n", index, double(value));
}

void printNameTooLongForConverter() {
    std::printf("File name too long for the converter command\n");
}

void printNoBoxesToSave() {
    std::printf("No boxes to save!\n");
}

void printUnableToOpenFile(const char* path) {
    std::printf("Unable to open file %s\n", path);
}

void printUnableToWriteFile(const char* path) {
    std::printf("Unable to write file %s\n", path);
}

void printBoxCount(int count) {
    std::printf("%d boxes for this image\n", count);
}

}  // namespace tarnview
