#include "fourier/rowFrequency.h"

namespace tarnview {

// Both directions go through the unswapped transform index k (0 ... ny - 1, frequency k
// for k up to (ny - 1)/2 and k - ny above): row r holds index r + ny/2 below ny/2,
// r - ny/2 from ny/2 to 2 (ny/2) - 1, and r itself in the last row of an odd height.

int rowFrequency(int row, int ny) {
    const int half = ny / 2;
    int k = row;
    if (row < half) {
        k = row + half;
    } else if (row < 2 * half) {
        k = row - half;
    }
    return k <= (ny - 1) / 2 ? k : k - ny;
}

int frequencyRow(int ky, int ny) {
    if (ky < lowestRowFrequency(ny) || ky > highestRowFrequency(ny)) return -1;
    const int k = ky >= 0 ? ky : ky + ny;
    const int half = ny / 2;
    if (k < half) return k + half;
    if (k < 2 * half) return k - half;
    return k;
}

int lowestRowFrequency(int ny) {
    return -(ny / 2);
}

int highestRowFrequency(int ny) {
    return ny % 2 == 0 ? ny / 2 - 1 : ny / 2;
}

}  // namespace tarnview
