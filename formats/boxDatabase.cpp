// Box database writer and reader. Lines are read into a fixed buffer; box lines are
// parsed field by field with range checks, so that no number outside its field and no
// name longer than the record's 39 characters is stored.
#include "formats/boxDatabase.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "formats/formatsMessages.h"
#include "image/Image.h"

namespace tarnview {

namespace {

constexpr int lineCharacters = 118;  // the longest line read whole
constexpr char cutoutsHead[] = "!!! Pickit Cutouts";
constexpr int droppedFields = 7;  // the integers between the box values and the name

bool writeAll(const Image& image, std::FILE* out) {
    bool ok = std::fprintf(out, "!!! Z.T.K. Datbase File !!!\n\n!!! Pickit Cutouts !!!\n") >= 0;
    const BoxRecord* boxes = image.getBoxes();
    const int count = image.getBoxCount();
    for (int i = 0; i < count; i++) {
        const BoxRecord& b = boxes[i];
        // The half height is that of the height taken as unsigned: -2 gives 32767.
        const int halfHeight = uint16_t(b.height) / 2;
        ok = ok && std::fprintf(out, "%hd %hd %hd %hd 0 %d 0 0 0 0 2 %s\n", b.x, b.y, b.width, b.height,
                                halfHeight, b.boxName) >= 0;
    }
    ok = ok && std::fprintf(out, "\n!!! Real Images !!!\n") >= 0;
    for (int i = 0; i < count; i++) ok = ok && std::fprintf(out, "%s\n", boxes[i].boxName) >= 0;
    ok = ok && std::fprintf(out,
                            "!!! Fourier Images Complex !!!\n\n!!! Fourier Images Real !!!\n\n!!! Files with "
                            "amplitudes and phases !!!\n\n") >= 0;
    ok = ok && std::fprintf(out,
                            "!!! Spectra .com files  !!!\n\n!!! Miscellaneous Files !!!\n\n!!! Lattice "
                            "Parameters !!!\n\n") >= 0;
    return ok;
}

// Reads the next line into line (at most lineCharacters characters and its line feed);
// the rest of a longer line is passed over. false at the end of the stream.
bool readLine(std::FILE* in, char (&line)[lineCharacters + 2]) {
    if (std::fgets(line, sizeof line, in) == nullptr) return false;
    if (std::strchr(line, '\n') == nullptr) {
        int c;
        do c = std::getc(in);
        while (c != '\n' && c != EOF);
    }
    return true;
}

const char* skipBlanks(const char* p) {
    while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p))) p++;
    return p;
}

// Parses one decimal integer within [low, high] at p, after blanks; null when there is
// none or it is out of range.
const char* parseInteger(const char* p, long low, long high, long& value) {
    p = skipBlanks(p);
    char* end = nullptr;
    errno = 0;
    value = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || value < low || value > high) return nullptr;
    return end;
}

// A box line: four 16-bit values, seven integers, a name. false when a field is missing
// or does not fit.
bool parseBoxLine(const char* line, long (&values)[4], char (&name)[sizeof BoxRecord::boxName]) {
    const char* p = line;
    for (long& v : values) {
        p = parseInteger(p, INT16_MIN, INT16_MAX, v);
        if (p == nullptr) return false;
    }
    for (int i = 0; i < droppedFields; i++) {
        long dropped;
        p = parseInteger(p, INT32_MIN, INT32_MAX, dropped);
        if (p == nullptr) return false;
    }
    p = skipBlanks(p);
    size_t length = 0;
    while (p[length] != '\0' && !std::isspace(static_cast<unsigned char>(p[length]))) length++;
    if (length == 0) return false;
    if (length > sizeof name - 1) length = sizeof name - 1;
    std::memcpy(name, p, length);
    name[length] = '\0';
    return true;
}

}  // namespace

int writeBoxDatabase(const Image& image, const char* path) {
    if (image.getBoxCount() == 0) {
        printNoBoxesToSave();
        return 0;
    }
    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        printUnableToOpenFile(path);
        return 0;
    }
    const bool written = writeAll(image, out);
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        printUnableToWriteFile(path);
        return 0;
    }
    return 1;
}

int readBoxDatabaseStream(Image& image, std::FILE* in) {
    char line[lineCharacters + 2];
    bool found = false;
    while (!found && readLine(in, line)) found = std::strncmp(line, cutoutsHead, sizeof cutoutsHead - 1) == 0;
    while (found && readLine(in, line) && std::strncmp(line, "!!!", 3) != 0) {
        long v[4];
        char name[sizeof BoxRecord::boxName];
        if (line[0] == '#' || !parseBoxLine(line, v, name)) continue;
        if (image.addBox(int16_t(v[0]), int16_t(v[1]), int16_t(v[2]), int16_t(v[3]), name))
            image.keepSpareBox();
    }
    printBoxCount(image.getBoxCount());
    return 1;
}

int readBoxDatabase(Image& image, const char* path) {
    std::FILE* in = std::fopen(path, "r");
    if (in == nullptr) {
        printUnableToOpenFile(path);
        return 0;
    }
    const int result = readBoxDatabaseStream(image, in);
    std::fclose(in);
    return result;
}

}  // namespace tarnview
