#pragma once
// IMAGIC stacks: a header file (".hed") of one 1024-byte record per image and a data file
// (".img") holding the images one after another, each stored from its last row to its
// first, as 4-byte floats ("REAL") or unsigned 16-bit integers ("INTG"). The byte order
// is the writer's: a file is big-endian when bytes 12 and 13 of its first record are zero.
#include <cstdio>

namespace tarnview {

struct ImageList;

/// Reads every image of the stack named by path (either file, or the stem: the path is
/// cut at its last "." and ".hed" and ".img" are appended). Returns a new list owned by
/// the caller whose Images the caller owns too (release both with destroyWithImages), or
/// null after printing "ERROR: cannot open %s\n" (the failing name), "Unknown type
/// %4.4s.\n" or "Not enough memory for the image list\n". An image that cannot be loaded
/// is left out after its message (see readImagicStreams); a stack without loadable
/// images gives an empty list.
ImageList* readImagic(const char* path);
/// The reading step of readImagic from open header and data streams; dataName is the data
/// file's name, whose text after the last "/" names the images. Each image keeps its
/// record (numeric words in host order, type and title as stored) and has grey limits
/// equal to its min and max. The header is read once, in order (it may be a pipe); reading
/// stops when it has no further whole record.
/// An image with a bad size ("Bad image size %dx%dx%d\n"), a short read ("Incomplete data
/// read %d/%d blocks\n"), a size over the limit of image/sampleLimit.h or no memory for its
/// samples is left out; the others are read.
ImageList* readImagicStreams(FILE* header, FILE* data, const char* dataName);

}  // namespace tarnview
