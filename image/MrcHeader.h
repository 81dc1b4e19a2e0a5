#pragma once
// The 1024-byte MRC file header as the library keeps it: 256 four-byte words, always in
// the host's byte order once a reader has decoded it (the labels are text and never
// reordered). The readers decode it from file bytes; the writer encodes it back.
#include <cstdint>

namespace tarnview {

struct MrcHeader {
    int32_t nx;       // word 0: columns (complex values per row in modes 3, 4)
    int32_t ny;       // word 1: rows
    int32_t nz;       // word 2: sections
    int32_t mode;     // word 3: sample type 0..4
    int32_t nxStart;  // words 4-6: origin of the map
    int32_t nyStart;
    int32_t nzStart;
    int32_t words7to9[3];                   // not interpreted
    float cellX, cellY, cellZ;              // words 10-12: cell dimensions
    float cellAlpha, cellBeta, cellGamma;   // words 13-15: cell angles in degrees
    int32_t mapColumn, mapRow, mapSection;  // words 16-18: axis order
    float dataMin, dataMax, dataMean;       // words 19-21: sample statistics
    int32_t word22;                         // not interpreted
    int32_t nsymbt;                         // word 23: bytes of extended header after this record
    int32_t words24to54[31];                // not interpreted (bytes 208-211 hold "MAP " in newer files)
    int32_t labelCount;                     // word 55: labels in use, 0..10
    char labels[10][80];                    // words 56-255: text labels, label i at byte 224 + 80 i
};

static_assert(sizeof(MrcHeader) == 1024, "MrcHeader is the 1024-byte file record");

}  // namespace tarnview
