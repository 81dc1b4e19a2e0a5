// The floor a converter is measured against: read a float MRC into memory, map it
// linearly to bytes with fixed limits, write the PGM (last row first). Nothing else.
//
//   tarnview-floor (plain | huge) in.mrc out.pgm
// plain: buffers from malloc. huge: buffers 2 MiB-aligned with madvise(MADV_HUGEPAGE).
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void* buffer(size_t bytes, bool huge) {
    if (!huge) return std::malloc(bytes);
    const size_t page = size_t(2) << 20;
    bytes = (bytes + page - 1) / page * page;
    void* p = nullptr;
    if (posix_memalign(&p, page, bytes) != 0) return nullptr;
    madvise(p, bytes, MADV_HUGEPAGE);
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const bool huge = std::strcmp(argv[1], "huge") == 0;
    FILE* in = std::fopen(argv[2], "rb");
    if (!in) return 1;
    int32_t header[256];
    if (std::fread(header, 4, 256, in) != 256) return 1;
    const int64_t nx = header[0], ny = header[1];
    auto* samples = static_cast<float*>(buffer(size_t(nx * ny) * 4, huge));
    auto* bytes = static_cast<uint8_t*>(buffer(size_t(nx * ny), huge));
    if (!samples || !bytes || std::fread(samples, 4, size_t(nx * ny), in) != size_t(nx * ny)) return 1;
    std::fclose(in);
    const float lo = 80.0f, hi = 120.0f, factor = 255.0f / (hi - lo);
    for (int64_t y = 0; y < ny; y++) {
        const float* row = samples + (ny - 1 - y) * nx;
        uint8_t* out = bytes + y * nx;
        for (int64_t x = 0; x < nx; x++) {
            const float v = row[x];
            out[x] = v <= lo ? 0 : v >= hi ? 255 : uint8_t(int((v - lo) * factor));
        }
    }
    FILE* pgm = std::fopen(argv[3], "wb");
    if (!pgm) return 1;
    std::fprintf(pgm, "P5\n%lld %lld\n255\n", (long long)nx, (long long)ny);
    std::fwrite(bytes, 1, size_t(nx * ny), pgm);
    std::fclose(pgm);
    std::free(samples);
    std::free(bytes);
    return 0;
}
