// Times FFTW's single-precision 2-D real-to-complex transform of a side x side image
// (FFTW_ESTIMATE, one thread, planning excluded) and prints the median of several runs in
// seconds. The whole-process benchmark compares the converter's -fft step with it.
#include <fftw3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    const int side = argc > 1 ? std::atoi(argv[1]) : 0;
    if (side < 2 || side > 16384) {
        std::printf("usage: tarnview-fftw-time side\n");
        return 1;
    }
    const size_t n = size_t(side) * side;
    float* in = fftwf_alloc_real(n);
    fftwf_complex* out = fftwf_alloc_complex(size_t(side) * (side / 2 + 1));
    fftwf_plan plan = fftwf_plan_dft_r2c_2d(side, side, in, out, FFTW_ESTIMATE);
    for (size_t i = 0; i < n; i++) in[i] = float((i * 7919) % 1000) * 0.001f;
    fftwf_execute(plan);  // warm-up: pages touched, caches filled
    std::vector<double> seconds;
    for (int run = 0; run < 7; run++) {
        const auto start = std::chrono::steady_clock::now();
        fftwf_execute(plan);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%.4f\n", seconds[seconds.size() / 2]);
    fftwf_destroy_plan(plan);
    fftwf_free(out);
    fftwf_free(in);
    return 0;
}
