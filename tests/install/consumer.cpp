// Uses the installed library through its one include: a 2 x 2 image and its statistics
// (image), a byte-order decode (formats) and a transform length (fourier).
#include <tarnview/tarnview.h>

#include <cstdio>

int main() {
    tarnview::Image image;
    image.resize(2, 2, 1);
    for (int i = 0; i < 4; i++) image.getData()[i] = float(i);
    image.updateStatistics();
    const unsigned char bytes[4] = {0, 0, 1, 2};
    const unsigned word = tarnview::decodeWord(bytes, tarnview::ByteOrder::bigEndian);
    const int size = tarnview::fftSizeAtLeast(17);
    std::printf("mean %g, word %u, next size %d\n", image.getMeanDouble(), word, size);
    return image.getMeanDouble() == 1.5 && word == 258 && size == 18 ? 0 : 1;
}
