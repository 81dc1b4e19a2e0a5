#pragma once
// Vertical frequencies of the rows of a Fourier image. The image transforms store the
// rows in swapped-half order: rows i and i + ny/2 exchanged for every i below ny/2, the
// last row of an odd height in place. For even ny the stored row r holds the frequency
// r - ny/2 (from -ny/2 to ny/2 - 1). For odd ny = 2m + 1 row 0 holds +m, rows 1 ... m - 1
// hold r - m - 1, rows m ... 2m - 1 hold r - m and the last row holds -1 (frequencies
// -m ... m); a height of 1 holds the frequency 0 in its only row.

namespace tarnview {

/// The signed vertical frequency stored in row (0 ... ny - 1) of a Fourier image of
/// height ny (ny at least 1).
int rowFrequency(int row, int ny);

/// The stored row of the signed vertical frequency ky in a Fourier image of height ny,
/// or -1 when ky is outside lowestRowFrequency(ny) ... highestRowFrequency(ny).
int frequencyRow(int ky, int ny);

/// The lowest vertical frequency a Fourier image of height ny holds: -(ny/2).
int lowestRowFrequency(int ny);

/// The highest vertical frequency a Fourier image of height ny holds: ny/2 - 1 for even
/// ny, (ny - 1)/2 for odd ny.
int highestRowFrequency(int ny);

}  // namespace tarnview
