#pragma once
// Reader of pictures as 8- or 16-bit greymaps: a raw PGM ("P5") is read directly, any
// other file through an external converter chosen by the file name's ending (GIF, TIFF,
// JPEG, PCX, else PPM/PGM), whose output must be a raw PGM. Samples are scaled to 0 ... 1
// by the PGM's maximum value, and the picture is flipped so its top row is the image's
// last.
#include <cstdio>

namespace tarnview {

class Image;

/// Reads the picture at path into image. The file is opened first; when it does not
/// start with "P5" it is closed and its converter is run without a shell ("giftoppm
/// path | ppmtopgm", "tifftopnm path | ppmtopgm", "djpeg -grayscale -pnm path", "pcxtoppm
/// path | ppmtopgm" or "ppmtopgm path"; a path beginning with "-" is passed as "./path";
/// the converters' standard error is discarded). A converter may run 60 s and write
/// 1 GiB; past either bound it is killed and the read fails with that message alone. A
/// FIFO is given a few seconds to deliver (InputFile). Sets name (the last path
/// component), path and everything readPgmStream sets. Returns 1, or 0 after printing
/// "Cannot open file %s\n", the FIFO's or the converter's bound, a refusal of a name too
/// long for the 800-byte converter command, "Sorry, I do not recognize this file type.\n"
/// (no "P5" from the file or the converter, or a converter that cannot be started) or a
/// message of readPgmStream.
int readConverted(Image& image, const char* path);

/// Reads a raw PGM from in, positioned at its "P5", into image: size nx x ny x 1, flags
/// 0, samples flipped top to bottom and divided by the maximum value (255 when it is below
/// 1 or 65536 or more; samples are two bytes, most significant first, when it is a whole
/// number from 256 to 65535), mag, deltaX and statistics. in stays open. Returns 1, or 0
/// after printing "Sorry, I do not recognize this file type.\n", "Invalid file\n" (a
/// header without a usable width, height or maximum value, more than 2^31 - 1 samples, or
/// a header running beyond 64 KiB), the size limit's refusal (image/sampleLimit.h),
/// "Incomplete data read %d/%d blocks\n" (a short row;
/// a regular file known to be too short is refused before the samples are allocated) or
/// the out-of-memory message. Prints "div=%f\n" with the maximum value and "%d,%g\n" for
/// each sample above 1 (last to first).
int readPgmStream(Image& image, std::FILE* in);

}  // namespace tarnview
