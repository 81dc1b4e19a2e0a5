#pragma once
// Writer of IMAGIC stacks: appends one image (its record to the ".hed" file, its rows,
// last row first, as 4-byte floats to the ".img" file) to a new or existing stack in the
// host's byte order, and raises the image count kept in the stack's first record.

namespace tarnview {

class Image;

/// Appends the first section of image to the stack named by path: a final three-letter
/// extension (a "." fourth from the end of a path longer than four characters) is
/// removed and ".hed" and ".img" are appended. Missing files are created. The record
/// written is the image's own (zeros when it has none) with the words of a "REAL" image
/// of its size, the date and time, its statistics and its name as title; after a
/// successful append the image keeps it. A failed append leaves both files as they were
/// and the image unchanged. Returns 1, or 0 after printing "Bad image size %dx%dx%d\n",
/// "File exists and has wrong byte order!\n", "Cannot write to %s!\n", the refusal of a
/// header without a whole first record, of a stack whose type is not REAL or whose
/// count cannot be raised, "Not enough memory to write %s\n", or a failed write.
int writeImagic(Image& image, const char* path);

}  // namespace tarnview
