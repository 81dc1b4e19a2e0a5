#pragma once
// Writers of small MRC, ScansALot and IMAGIC files for the tests, in either byte order.
#include <cstdint>
#include <string>
#include <vector>

namespace tarnview::test {

/// The bytes of an MRC file: a 1024-byte header (nx, ny, nz, mode; cell = sizes; axes
/// 1 2 3) followed by the samples, both in the given byte order. `values` holds one
/// number per stored sample (two per complex value in modes 3 and 4, nx counting
/// complex values), converted to the mode's type: mode 0 bytes, 1 and 3 unsigned 16-bit,
/// 2 and 4 floats.
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

}  // namespace tarnview::test
