// Uses the installed headers and library: a 2 x 2 image and its statistics.
#include <cstdio>

#include "image/Image.h"

int main() {
    tarnview::Image image;
    image.resize(2, 2, 1);
    for (int i = 0; i < 4; i++) image.getData()[i] = float(i);
    image.updateStatistics();
    std::printf("mean %g\n", image.getMeanDouble());
    return image.getMeanDouble() == 1.5 ? 0 : 1;
}
