#pragma once
// Sample loaders: fill an Image from an open stream of rows stored last row first
// (readFloatRows, read16BitRows) or from floats in memory (setRealData, setComplexData),
// and the pieces the file readers share: the size check and the look-ahead at a
// stream's length. Widening and byte order are in formats/byteOrder.h.
#include <cstdint>
#include <cstdio>

#include "formats/byteOrder.h"

namespace tarnview {

class Image;

/// Reads ny rows of nz items of nx 4-byte floats, the last row first (the first row in
/// the stream becomes row ny - 1), straight into the image's samples, byte-reversing
/// them when fileOrder is not the host's; sets the sizes and updates
/// the statistics. Returns 1, or 0 after printing "Incomplete data read %d/%d blocks\n"
/// (a short read; a stream known to be too short is not read and is left at its end),
/// "Bad image size %dx%dx%d\n" (nothing read), the size limit's refusal
/// (image/sampleLimit.h) or "Not enough memory for a %dx%dx%d image\n" (for both, the
/// image's bytes are passed over).
int readFloatRows(Image& image, FILE* stream, int nx, int ny, int nz, ByteOrder fileOrder);
/// As readFloatRows for 2-byte unsigned samples in fileOrder, widened to floats in place.
int read16BitRows(Image& image, FILE* stream, int nx, int ny, int nz, ByteOrder fileOrder);
/// Clears the complex flag (other flags unchanged), sizes the image to nx x ny x nz,
/// copies that many floats from buffer (which may be the image's own samples) and
/// updates the statistics. Returns 1, or 0 (image unchanged) after printing
/// "Bad image size %dx%dx%d\n" or "Not enough memory for a %dx%dx%d image\n".
int setRealData(Image& image, const float* buffer, int nx, int ny, int nz);
/// As setRealData, but sets the complex flag.
int setComplexData(Image& image, const float* buffer, int nx, int ny, int nz);

/// 1 when every size is positive and nx x ny x nz is at most 2^31 - 1; otherwise prints
/// "Bad image size %dx%dx%d\n" and returns 0.
int checkImageSize(int nx, int ny, int nz);
/// Bytes from the stream's position to its end, or -1 when the stream cannot tell
/// (a pipe). The position is unchanged.
int64_t bytesLeft(FILE* stream);

}  // namespace tarnview
