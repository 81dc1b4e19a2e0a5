#pragma once
// Messages of the converter, each in one place with its exact text.

namespace tarnview {

/// The three-line usage text.
void printUsage();
void printCannotReadMrc(const char* path);
void printCannotReadSal(const char* path);
void printCannotReadImagic(const char* path);
/// "-z" followed by a word that is not a section number (digits, 0 to 2^31 - 1).
void printBadSection(const char* word);
/// "-z" with an input type other than -mrc.
void printSectionNeedsMrc();
/// The -v report: size, statistics and default grey limits.
void printImageReport(int nx, int ny, float min, float max, float mean, float sigma, float greyLow,
                      float greyHigh);
/// -fft on an image that is not square.
void printNotSquare();
/// -fft on a side that is not a valid transform length: the next valid size, then the padding.
void printPaddedToValidSize(int size);
void printFftUnsuccessful();
/// "-fft and -psd cannot be used together\n"
void printFftWithPsd();

}  // namespace tarnview
