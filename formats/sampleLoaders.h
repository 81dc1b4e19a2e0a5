#pragma once
// Sample loaders: fill an Image from an open stream of rows stored last row first
// (readFloatRows, read16BitRows) or from floats in memory (setRealData, setComplexData),
// and the pieces the file readers share: the size check, the in-place widening of
// 16-bit samples and the look-ahead at a stream's length.
#include <cstdint>
#include <cstdio>

namespace tarnview {

class Image;

/// Reads ny rows of nz items of nx 4-byte floats, the last row first (the first row in
/// the stream becomes row ny - 1), straight into the image's samples, byte-reversing
/// them when orderCode is 1 (file and host orders differ); sets the sizes and updates
/// the statistics. Returns 1, or 0 after printing "Incomplete data read %d/%d blocks\n"
/// (a short read; a stream known to be too short is not read and is left at its end),
/// "Bad image size %dx%dx%d\n" (nothing read) or "Not enough memory for a %dx%dx%d
/// image\n" (the image's bytes are passed over).
int readFloatRows(Image& image, FILE* stream, int nx, int ny, int nz, int orderCode);
/// As readFloatRows for 2-byte unsigned samples, widened to floats in place. orderCode
/// is (file big-endian) + (host big-endian): samples are decoded high byte first when the
/// file is big-endian, low byte first otherwise, on any host.
int read16BitRows(Image& image, FILE* stream, int nx, int ny, int nz, int orderCode);
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
/// Converts the count unsigned 16-bit samples stored at the front of samples (2 bytes
/// each, big- or little-endian) into count floats in the same buffer, from the last
/// sample to the first so that none is overwritten before it is read.
void widen16BitSamples(float* samples, int64_t count, bool bigEndian);
/// Converts the count unsigned 16-bit samples at in into count floats at out, from the
/// first sample to the last. in may lie in the same buffer as out when it starts at
/// least 2 x count bytes after out: no sample is then overwritten before it is read.
void widen16BitSamplesForward(float* out, const unsigned char* in, int64_t count, bool bigEndian);
/// Bytes from the stream's position to its end, or -1 when the stream cannot tell
/// (a pipe). The position is unchanged.
int64_t bytesLeft(FILE* stream);

}  // namespace tarnview
