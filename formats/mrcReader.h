#pragma once
// Reader of two-dimensional MRC image files: a 1024-byte header in either byte order
// (told by its first two bytes), an optional extended header, and the samples in one of
// five modes (0 unsigned bytes / 100, 1 unsigned 16-bit, 2 float, 3 complex unsigned
// 16-bit, 4 complex float). Complex samples become (amplitude, phase) pairs.
#include <cstdint>
#include <cstdio>

namespace tarnview {

class Image;

/// Reads the MRC file at path into image; a name ending in ".gz" or ".Z" is read through
/// zcat (run without a shell). Sets the kept header, size, samples, complex flag, name
/// (the last path component), path, mag, deltaX and statistics. Returns 1, or 0 on
/// failure, when the image may be partly changed and should be discarded. Prints
/// "Cannot open file\n", a refusal of a name too long for the decompressor command, and
/// the messages of readMrcStream.
int readMrc(Image& image, const char* path);

/// Reads an MRC image from in, positioned at its header, into image: everything readMrc
/// sets except the name and path. streamBytes is the number of bytes from that position
/// to the end of a regular file, or -1 when the length is not known (a pipe). The stream
/// stays open. Returns 1 or 0. Prints "This appears to be a 1d file. I only read 2d
/// files.\n", "This appears to be a 3d file. I only read 2d files.\n", "WARNING: nx/y/z
/// start not zero\n", "Bad MRC file\n" (unknown mode, or sizes that cannot describe an
/// image of at most 2^31 - 1 samples), "Incomplete data read %d/%d blocks\n" (per short
/// row; mode 0 goes on with that row's missing bytes as 0), and "Not enough memory
/// for a %dx%dx%d image\n".
int readMrcStream(Image& image, std::FILE* in, int64_t streamBytes);

}  // namespace tarnview
