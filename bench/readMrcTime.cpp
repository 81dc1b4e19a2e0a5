// The median wall time of readMrc on one file, for the Python binding's benchmark:
//   tarnview-read-time <file.mrc> <repetitions>
// prints "readMrc <seconds>".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "formats/mrcReader.h"
#include "image/Image.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: tarnview-read-time file.mrc repetitions\n");
        return 2;
    }
    const int repetitions = std::max(1, std::atoi(argv[2]));
    std::vector<double> times;
    for (int i = 0; i < repetitions; i++) {
        tarnview::Image image;
        const auto start = std::chrono::steady_clock::now();
        if (!tarnview::readMrc(image, argv[1])) return 1;
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("readMrc %.6f\n", times[times.size() / 2]);
    return 0;
}
