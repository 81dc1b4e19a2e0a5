#pragma once
// Writers of small MRC, ScansALot and IMAGIC files for the tests, in either byte order.
#include <cstdint>
#include <string>
#include <vector>

namespace tarnview::test {

/// An MRC file as the tests write it: every header word the reader looks at, and the
/// samples as numbers. The words it does not interpret get recognisable values (mx, my,
/// mz 7, 8, 9; word w of 24 to 54 holds w) so that a test can see they are kept.
struct MrcFile {
    int32_t nx = 5;  // values per row; complex values in modes 3 and 4
    int32_t ny = 3;
    int32_t nz = 1;
    int32_t mode = 2;
    int32_t start[3] = {0, 0, 0};
    float cell[3] = {0.0f, 2.5f, 0.0f};
    int32_t nsymbt = 0;
    bool mapTag = false;
    int32_t labelCount = 1;
    std::string label = "written by the test";
    std::vector<double> samples;     // in file order; real and imaginary parts in turn
    std::vector<uint8_t> extension;  // extended header bytes after the 1024
};

/// The bytes of f in the given byte order: the 1024-byte header, the extension, then the
/// samples converted to the mode's type (mode 0 bytes, 1, 3 and 6 unsigned 16-bit, 2 and 4
/// floats, 12 the samples taken as the bit patterns of halves).
std::vector<uint8_t> mrcBytes(const MrcFile& f, bool bigEndian);

/// The bytes of an MRC file of nx x ny x nz samples in the mode with the cell equal to
/// the sizes: mrcBytes with those fields set. `values` holds one number per stored
/// sample (two per complex value in modes 3 and 4, nx counting complex values).
std::vector<uint8_t> mrcFile(int nx, int ny, int nz, int mode, bool bigEndian,
                             const std::vector<double>& values);

/// Writes a ScansALot scan: stem + ".hdr" (or ".HDR") with the given extra header lines
/// after NXP/NYP/FILE REC, and stem + ".img" (or ".IMG") with rows of little-endian
/// 16-bit samples padded to whole records.
void writeSalScan(const std::string& stem, int nx, int ny, const std::vector<uint16_t>& samples,
                  int recordLength = 512, const std::string& extraLines = "", bool upperCase = false);

/// Writes an IMAGIC stack stem.hed / stem.img of equally sized images ("REAL" floats or
/// "INTG" 16-bit), each given row 0 first and stored last row first.
void writeImagicStack(const std::string& stem, int nx, int ny, const std::vector<std::vector<double>>& images,
                      bool integer, bool bigEndian);

/// The PGM pixel of a real sample v with limits lo < hi, as the converter maps it.
uint8_t greyOf(float v, float lo, float hi);

/// The header of a binary PGM of w x h pixels.
std::string pgmHeader(int w, int h);
/// The PGM file a real nx x ny image of values v gives with limits (lo, hi): its last row
/// first, each pixel greyOf its value.
std::vector<uint8_t> expectedPgm(int nx, int ny, const std::vector<double>& v, float lo, float hi);

}  // namespace tarnview::test
