#pragma once
// ScansALot scans: a text header (".HDR" or ".hdr") giving the size, record length, scan
// direction, axis order and sampling, and a data file (".IMG" or ".img") of unsigned
// little-endian 16-bit samples, row 0 first, each row padded with filler bytes to a whole
// number of records.
//
// Both readers accept the name of either file or the bare stem: the path is cut at its
// last "." (wherever it is, also inside a directory name) and the extensions are tried
// upper case first. Both produce a single-section image and leave its flags alone.
#include <cstdint>
#include <cstdio>

namespace tarnview {

class Image;

/// What a scan's header says. nx and ny are -1 until the header gives them.
struct SalHeader {
    int nx = -1;
    int ny = -1;
    int recordLength = 512;  // bytes per record of the data file
    bool exchangeAxes = false;
    bool serpentine = false;  // odd rows are stored right to left
    bool hasDeltaX = false;
    float deltaX = 0;  // the DELTAX value already divided by 3
};

/// A header is read up to this many bytes; one that goes on (a device or a FIFO that
/// never ends, a file of NUL bytes) is cut there and gives no size.
constexpr int64_t salHeaderByteLimit = int64_t(1) << 20;

/// Reads header lines from stream (in pieces of at most 79 characters) through the key
/// table NXP, NYP, AXSCAN, FILE REC, SCAN TYPE, DELTAX; lines that match no key, and
/// values that do not convert, change nothing. The axes are not exchanged yet. A header
/// longer than salHeaderByteLimit is cut there with nx and ny -1, so that the readers
/// refuse it as a header problem.
SalHeader parseSalHeader(FILE* stream);
/// Bytes per stored row: 2 x nx rounded up to whole records. -1 when the header gives no
/// usable scan: a size of 0 or below, a record length of 0 or below, more than 2^31 - 1
/// samples, or a block length beyond an int.
int64_t salBlockLength(const SalHeader& header);

/// Reads the scan named by path into image. Prints "%s is %dx%d\n" with the header name
/// and size, "Block length=%d x %d\n", and on failure "Cannot open %s\n", "Problem
/// reading header." (no line end), the size limit's refusal (image/sampleLimit.h),
/// "Incomplete data read %d/%d blocks\n" or "Not enough memory for a %dx%dx%d image\n".
/// Returns 1, or 0 on failure.
int readSal(Image& image, const char* path);
/// Reads the rows of a scan whose header has been parsed (axes exchanged, block length
/// valid) from data into image, and updates its statistics. Prints "Block length=%d x
/// %d\n" and the failures of readSal that concern the data. Returns 1 or 0.
int readSalData(Image& image, FILE* data, const SalHeader& header);

/// Reads the top-left region of at most 1040 x 1040 samples of the scan named by path
/// (W = 1040 when nx >= 1040, else nx - 1; H likewise). Prints as readSal, with "Block
/// length=%d x %d (%d,%d %d,%d)\n" instead, "Swapping\n" for a serpentine scan and
/// "Seek error!!!\n" when the data file cannot be rewound. Returns 1, or 0 on failure.
int readSalCorner(Image& image, const char* path);
/// The data step of readSalCorner: rewinds data and reads the region's rows into image.
int readSalCornerData(Image& image, FILE* data, const SalHeader& header);

}  // namespace tarnview
