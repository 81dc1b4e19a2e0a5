#pragma once
// One 1024-byte IMAGIC header record (256 four-byte words), kept by each image read
// from a stack. Numeric words are in the host's byte order once decoded; `type` and
// `imageTitle` are text and are never reordered.
#include <cstdint>

namespace tarnview {

struct ImagicRecord {
    int32_t imageNumber;           // word 0
    int32_t imagesFollowing;       // word 1: in the first record, images after this one
    int32_t word2;                 // word 2
    int32_t orderCode;             // word 3: its first two bytes give the file's byte order
    int32_t day;                   // word 4: day of the month
    int32_t month;                 // word 5: month counted from 0
    int32_t year;                  // word 6
    int32_t hour, minute, second;  // words 7-9
    int32_t pixelCount[2];         // words 10-11: nx * ny, in both words
    int32_t lines;                 // word 12: rows (ny)
    int32_t pixelsPerLine;         // word 13: columns (nx)
    char type[4];                  // word 14: "REAL" or "INTG", never swapped
    int32_t words15to16[2];        // words 15-16
    float mean;                    // word 17
    float word18;                  // word 18
    int32_t word19;                // word 19
    float word20;                  // word 20
    float max;                     // word 21
    float min;                     // word 22
    int32_t words23to28[6];        // words 23-28
    char imageTitle[80];           // words 29-48, never swapped
    int32_t words49to255[207];     // words 49-255 (69-97 hold the writer's geometry values)
};

static_assert(sizeof(ImagicRecord) == 1024, "ImagicRecord is the 1024-byte file record");

}  // namespace tarnview
