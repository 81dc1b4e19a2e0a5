// Fuzz target of the file-level readers (readMrc, readSal, readSalCorner, readImagic)
// through real files in a temporary directory: their naming rules, the decompressor
// path and missing data files.
//
// Input: byte 0 chooses the reader (bits 0-1: MRC, ScansALot, ScansALot corner, IMAGIC),
// the name the reader is given (bits 2-3), whether the second file is left out (bit 4)
// and the case of the ScansALot extensions (bit 5). Bytes 1 and 2 give the length n of
// the first file (little-endian, cut to what the input holds): the next n bytes are the
// header file, the rest the data file. An MRC file is the whole rest; with name choice 1
// it is stored as "in.mrc.gz", wrapped in a gzip member of stored blocks so that zcat
// delivers it; choice 2 names the raw bytes "in.Z", which zcat refuses.
//
// Size cap (set by `make fuzz`): inputs of at most 32 KiB (-max_len=32768) and
// allocations of at most 64 MiB (ASAN_OPTIONS max_allocation_size_mb=64 with
// allocator_may_return_null). Nothing is skipped: images declared beyond the cap are refused with the
// readers' "Not enough memory" messages.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/ImageList.h"
#include "formats/imagicReader.h"
#include "formats/mrcReader.h"
#include "formats/salReader.h"
#include "image/Image.h"

namespace {

// The temporary directory of this process, removed at exit (each input's files are
// removed after it).
const std::string& directory() {
    static const std::string path = [] {
        static char name[] = "/tmp/tarnview-fuzz-XXXXXX";
        if (mkdtemp(name) == nullptr) return std::string("/tmp");
        std::atexit([] { rmdir(name); });
        return std::string(name);
    }();
    return path;
}

void writeFile(const std::string& name, const uint8_t* bytes, size_t size) {
    if (std::FILE* out = std::fopen(name.c_str(), "wb")) {
        if (size > 0) std::fwrite(bytes, 1, size, out);
        std::fclose(out);
    }
}

uint32_t crc32(const uint8_t* bytes, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xffffffffu;
    for (size_t i = 0; i < size; i++) c = table[(c ^ bytes[i]) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

void putLittle32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; i++) out.push_back(uint8_t(v >> (8 * i)));
}

// A gzip file holding bytes in deflate blocks of type "stored" (no compression).
std::vector<uint8_t> storedGzip(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> out = {0x1f, 0x8b, 8, 0, 0, 0, 0, 0, 0, 3};
    size_t at = 0;
    do {
        const size_t n = size - at < 65535 ? size - at : 65535;
        out.push_back(at + n == size ? 1 : 0);  // last block flag, type 0
        out.push_back(uint8_t(n));
        out.push_back(uint8_t(n >> 8));
        out.push_back(uint8_t(~n));
        out.push_back(uint8_t(~n >> 8));
        out.insert(out.end(), bytes + at, bytes + at + n);
        at += n;
    } while (at < size);
    putLittle32(out, crc32(bytes, size));
    putLittle32(out, uint32_t(size));
    return out;
}

void readMrcFile(int naming, const uint8_t* bytes, size_t size) {
    static const char* const names[] = {"in.mrc", "in.mrc.gz", "in.Z", "in"};
    const std::string name = directory() + "/" + names[naming];
    if (naming == 1) {
        const std::vector<uint8_t> packed = storedGzip(bytes, size);
        writeFile(name, packed.data(), packed.size());
    } else {
        writeFile(name, bytes, size);
    }
    tarnview::Image image;
    tarnview::readMrc(image, name.c_str());
    unlink(name.c_str());
}

// The two files of a ScansALot scan or an IMAGIC stack, stem + extension each, and the
// name the reader is given: either file, the bare stem, or a name with a further dot.
void readPair(int reader, int naming, bool omitData, bool upperCase, const uint8_t* first, size_t firstSize,
              const uint8_t* second, size_t secondSize) {
    const bool imagic = reader == 3;
    const std::string stem = directory() + "/scan";
    const std::string headerName = stem + (imagic ? ".hed" : upperCase ? ".HDR" : ".hdr");
    const std::string dataName = stem + (imagic ? ".img" : upperCase ? ".IMG" : ".img");
    writeFile(headerName, first, firstSize);
    if (!omitData) writeFile(dataName, second, secondSize);
    const std::string given[] = {headerName, dataName, stem, stem + ".part.x"};
    const char* path = given[naming].c_str();
    tarnview::Image image;
    if (reader == 1) tarnview::readSal(image, path);
    if (reader == 2) tarnview::readSalCorner(image, path);
    if (imagic) tarnview::destroyWithImages(tarnview::readImagic(path));
    unlink(headerName.c_str());
    unlink(dataName.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int reader = data[0] & 3;
    const int naming = (data[0] >> 2) & 3;
    const bool omitData = (data[0] & 16) != 0;
    const bool upperCase = (data[0] & 32) != 0;
    if (reader == 0) {
        readMrcFile(naming, data + 1, size - 1);
        return 0;
    }
    size_t firstSize = size_t(data[1]) | size_t(data[2]) << 8;
    if (firstSize > size - 3) firstSize = size - 3;
    readPair(reader, naming, omitData, upperCase, data + 3, firstSize, data + 3 + firstSize,
             size - 3 - firstSize);
    return 0;
}
