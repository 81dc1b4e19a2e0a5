#pragma once
// Reader of MRC image files: a 1024-byte header in either byte order (told by its first
// two bytes), an optional extended header, and the samples in one of the modes 0 unsigned
// bytes / 100, 1 unsigned 16-bit, 2 float, 3 complex unsigned 16-bit, 4 complex float,
// and, read by the section reader only, 6 unsigned 16-bit and 12 IEEE half precision.
// Complex samples become (amplitude, phase) pairs. readMrc reads two-dimensional files;
// readMrcSection reads one section of any file (2-D, stack or volume) with the same
// parser, without readMrc's refusals of one-row files, of more than one section and of
// modes 6 and 12. Every reader refuses an image larger than maxImageSamples()
// (image/sampleLimit.h) before allocating it.
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
/// image of at most 2^31 - 1 samples), the size limit's refusal, "Incomplete data read
/// %d/%d blocks\n" (per short row; mode 0 goes on with that row's missing bytes as 0),
/// and "Not enough memory for a %dx%dx%d image\n".
int readMrcStream(Image& image, std::FILE* in, int64_t streamBytes);

/// Reads section `section` (0 to nz - 1) of the MRC file at path into image, as readMrc
/// reads a 2-D file (compressed names through zcat), in modes 0 to 4, 6 and 12. Only that
/// section's rows are read: the others are passed over with a seek on a regular file and
/// read and dropped on a pipe. The image has nz 1; the kept header is the file's (its nz
/// the file's section count). Complex amplitudes are scaled by the image's own sizes,
/// hypot / nx * ny * 1, so that a section reads as the same data written as a 2-D file.
/// Returns 1, or 0 after a message: "Cannot open file\n" (also for a compressed file that
/// cannot be opened), the decompressor-name refusal, and those of readMrcSectionStream.
int readMrcSection(Image& image, const char* path, int section);

/// readMrcSection's parser on a stream positioned at the header, with streamBytes as for
/// readMrcStream; sets everything readMrcSection does except the name and path. Returns 1
/// or 0. Prints "The file ends before its 1024-byte MRC header\n", "WARNING: nx/y/z start
/// not zero\n", "Bad MRC file\n" (unknown mode, sizes of 0 or below, a section of more
/// than 2^31 - 1 floats), "There is no section %d: the file's sections are 0 to %d\n",
/// the size limit's refusal, "Incomplete data read %d/%d blocks\n" and "Not enough memory
/// for a %dx%dx%d image\n".
int readMrcSectionStream(Image& image, std::FILE* in, int64_t streamBytes, int section);

/// The number of sections (nz) of the MRC file at path, reading only its header (through
/// zcat for a compressed name), or -1 after a message: "Cannot open file\n", the
/// decompressor-name refusal, or those of readMrcSectionCountStream. A count of n means
/// that readMrcSection accepts the sections 0 to n - 1.
int readMrcSectionCount(const char* path);

/// The section count of the MRC header at in's position, or -1 after "The file ends
/// before its 1024-byte MRC header\n" or "Bad MRC file\n" (a header readMrcSection
/// refuses: unknown mode or unusable sizes).
int readMrcSectionCountStream(std::FILE* in);

}  // namespace tarnview
