#pragma once
// Writer of MRC image files: the image's kept MrcHeader brought up to date, followed by
// the samples as 4-byte floats (mode 2, or 4 for complex images) or as 16-bit integers on
// the scale 0 ... 4095 (mode 1, or 3), all in the host's byte order.

namespace tarnview {

class Image;

/// Writes image to path as an MRC file, in 16-bit samples when sixteenBit is non-zero.
/// The header is the image's kept header (zeros when it has none) with the sizes, cell
/// (and angles of 90 when cellAlpha is 0), mode, start 0, axes 1 2 3, statistics, no
/// extended header, and the history label "lorikit: <m>/<d>/<yy> <h>:<mm> <name>" added
/// in label labelCount while fewer than 10 labels are in use. A complex image is written
/// as real/imaginary pairs with half its nx in the header; 16-bit samples are
/// (v - min) x 4095 / (max - min). The image's samples never change; after a successful
/// write its kept header is the one written. Returns 1, or 0 after printing "Bad image
/// size %dx%dx%d\n" (no samples), an odd complex row, "Cannot open file for writing\n",
/// "Not enough memory to write %s\n" or a write or close failure (the file is then
/// incomplete and the kept header unchanged).
int writeMrc(Image& image, const char* path, int sixteenBit);

}  // namespace tarnview
