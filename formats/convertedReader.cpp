// Converted-image reader. A PGM header is parsed character by character with a bounded
// size and checked numbers; the rows are read straight into the front of the image's
// float buffer, each to its flipped place, and widened there from the last sample to the
// first, so that no second buffer of the image's size is needed.
#include "formats/convertedReader.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "formats/CommandPipe.h"
#include "formats/InputFile.h"
#include "formats/boundedOutput.h"
#include "formats/byteOrder.h"
#include "formats/convertedReaderBounds.h"
#include "formats/formatsMessages.h"
#include "formats/pathName.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "image/imageMessages.h"
#include "image/progress.h"
#include "image/sampleLimit.h"

namespace tarnview {

namespace {

constexpr int headerLimit = 1 << 16;  // bytes a header may take before its samples
constexpr int numberCharacters = 64;  // the longest number token accepted

// Characters of a PGM header, at most headerLimit of them.
class HeaderReader {
  public:
    explicit HeaderReader(std::FILE* stream) : in(stream) {}
    int get() {
        if (left == 0) return EOF;
        left--;
        return std::getc(in);
    }
    void unget(int c) {
        if (c == EOF) return;
        std::ungetc(c, in);
        left++;
    }
    // Passes over blanks and line ends; the first other character is the result (kept).
    int skipBlanks() {
        int c;
        do c = get();
        while (c != EOF && std::isspace(c));
        unget(c);
        return c;
    }
    // Passes over the rest of a line, however long.
    void skipLine() {
        int c;
        do c = get();
        while (c != EOF && c != '\n');
    }

  private:
    std::FILE* in;
    int left = headerLimit;
};

// A whitespace-preceded decimal integer with an optional sign, in int range. The
// character after it is left in the stream.
bool readInteger(HeaderReader& header, int& value) {
    header.skipBlanks();
    int c = header.get();
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = header.get();
    if (c == EOF || !std::isdigit(c)) return false;
    int64_t v = 0;
    for (; c != EOF && std::isdigit(c); c = header.get()) {
        v = v * 10 + (c - '0');
        if (v > INT32_MAX) return false;
    }
    header.unget(c);
    value = int(negative ? -v : v);
    return true;
}

// A whitespace-preceded real number in float range, made of digits, signs, a point and
// an exponent. The character that ends it is consumed: it is the header's last
// separator.
bool readReal(HeaderReader& header, float& value) {
    header.skipBlanks();
    char text[numberCharacters + 1];
    int length = 0;
    int c = header.get();
    while (c != EOF && (std::isdigit(c) || std::strchr("+-.eE", c) != nullptr)) {
        if (length == numberCharacters) return false;
        text[length++] = char(c);
        c = header.get();
    }
    text[length] = '\0';
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (length == 0 || end != text + length || !std::isfinite(v) || std::fabs(v) > FLT_MAX) return false;
    value = float(v);
    return true;
}

struct PgmHeader {
    int width = 0;
    int height = 0;
    float maximum = 0;
};

// The header after the magic: one separator, comment lines, width, height, maximum
// value and one separator.
bool readHeader(std::FILE* in, PgmHeader& h) {
    HeaderReader header(in);
    header.get();
    int c;
    while ((c = header.get()) == '#') header.skipLine();
    header.unget(c);
    if (!readInteger(header, h.width) || !readInteger(header, h.height) || !readReal(header, h.maximum))
        return false;
    return h.width > 0 && h.height > 0 && int64_t(h.width) * h.height <= INT32_MAX;
}

bool readMagic(std::FILE* in) {
    char magic[2];
    return std::fread(magic, 1, 2, in) == 2 && magic[0] == 'P' && magic[1] == '5';
}

// Samples of two bytes when the maximum value is a whole number from 256 to 65535.
bool twoByteSamples(float maximum) {
    return maximum >= 256.0f && maximum <= 65535.0f && std::floor(maximum) == maximum;
}

// Reads the rows, the stream's first into the image's last row, to the front of the
// buffer. Sizes are checked already.
int readRowsFlipped(Image& image, std::FILE* in, int64_t rowBytes, const char* stage) {
    const int ny = image.getNy();
    auto* bytes = reinterpret_cast<unsigned char*>(image.getData());
    for (int i = 0; i < ny; i++) {
        if (std::fread(bytes + (ny - 1 - i) * rowBytes, size_t(rowBytes), 1, in) != 1) {
            printIncompleteDataRead(0, ny);
            return 0;
        }
        reportProgress(progressFigure(i * rowBytes), progressFigure(ny * rowBytes), stage);
    }
    return 1;
}

// Prints every sample above 1 (a byte above the maximum value), last to first.
void reportOutOfRange(const float* data, int64_t count) {
    for (int64_t i = count - 1; i >= 0; i--)
        if (data[i] > 1.0f || data[i] < 0.0f) printSampleOutOfRange(int(i), data[i]);
}

// The samples after the header, and the steps that end every successful read.
int readSamples(Image& image, std::FILE* in, const PgmHeader& h) {
    const bool wide = twoByteSamples(h.maximum);
    const int64_t rowBytes = int64_t(h.width) * (wide ? 2 : 1);
    if (!withinSampleLimit(h.width, h.height, 1)) return 0;
    const int64_t left = bytesLeft(in);
    if (left >= 0 && left < rowBytes * h.height) {
        printIncompleteDataRead(0, h.height);
        return 0;
    }
    if (!image.resize(h.width, h.height, 1)) {
        printImageOutOfMemory(h.width, h.height, 1);
        return 0;
    }
    if (!readRowsFlipped(image, in, rowBytes, wide ? "Reading 16 bit data..." : "Reading 8 bit data..."))
        return 0;
    const int64_t count = int64_t(h.width) * h.height;
    reportProgress(int(count), int(count), "Converting to float");
    printDivisor(h.maximum);
    const float divisor = h.maximum < 1.0f || h.maximum >= 65536.0f ? 255.0f : h.maximum;
    float* data = image.getData();
    if (wide) {
        widen16BitSamples(data, count, ByteOrder::bigEndian);
        for (int64_t i = 0; i < count; i++) data[i] /= divisor;
    } else {
        widen8BitSamples(data, count, divisor);
    }
    // Only a maximum value below what a sample can hold lets a sample exceed 1.
    if (divisor < (wide ? 65535.0f : 255.0f)) reportOutOfRange(data, count);
    image.setSamplingFromParameters();
    reportProgress(1, 1, "Updating statistics");
    image.updateStatistics();
    reportProgress(-1, 0, nullptr);
    return 1;
}

// The PGM after its magic.
int readPgmBody(Image& image, std::FILE* in) {
    image.setFlags(0);
    image.resize(0, 0, 1);
    PgmHeader h;
    if (!readHeader(in, h)) {
        printInvalidFile();
        return 0;
    }
    return readSamples(image, in, h);
}

// One row of the converter table: the path endings that choose it (compared exactly, the
// first matching row decides), the command as its text reads and the programs that run
// it: the first with its options and then the path, piped into ppmtopgm when toGrey.
struct Converter {
    const char* endings[3];
    const char* command;
    const char* program[3];
    bool toGrey;
};

constexpr Converter converters[] = {
    {{".gif", ".GIF"}, "giftoppm %s|ppmtopgm", {"giftoppm"}, true},
    {{".tif", ".TIF", ".tiff"}, "tifftopnm %s | ppmtopgm", {"tifftopnm"}, true},
    {{".jpg", ".JPG"}, "djpeg -grayscale -pnm %s", {"djpeg", "-grayscale", "-pnm"}, false},
    {{".pcx", ".PCX"}, "pcxtoppm %s| ppmtopgm", {"pcxtoppm"}, true},
    {{}, "ppmtopgm %s", {"ppmtopgm"}, false},
};

// The command's text must fit in this many bytes with its end.
constexpr size_t commandBytes = 800;

const Converter& converterFor(const char* path) {
    for (const Converter& row : converters)
        for (const char* ending : row.endings)
            if (ending != nullptr && hasEnding(path, ending)) return row;
    return converters[std::size(converters) - 1];
}

int readThroughConverter(Image& image, const char* path, RunBounds bounds) {
    const Converter& row = converterFor(path);
    // The programs take a name beginning with "-" for an option, and djpeg and ppmtopgm
    // refuse "--": such a name is given as "./name".
    const std::string argument = path[0] == '-' ? std::string("./") + path : std::string(path);
    if (std::strlen(row.command) - 2 + argument.size() >= commandBytes) {
        printNameTooLongForConverter();
        return 0;
    }
    const char* first[5] = {};
    int n = 0;
    for (const char* word : row.program)
        if (word != nullptr) first[n++] = word;
    first[n] = argument.c_str();
    const char* const second[] = {"ppmtopgm", nullptr};
    CommandPipe pipe = openCommandPipeline(first, row.toGrey ? second : nullptr);
    if (pipe.stream == nullptr) {
        printUnknownFileType();
        return 0;
    }
    BoundedOutput output(pipe, bounds, row.program[0]);
    std::FILE* in = output.stream() != nullptr ? output.stream() : pipe.stream;
    int result = 0;
    if (!readMagic(in)) {
        printUnknownFileType();
    } else {
        setNameAndPath(image, path);
        result = readPgmBody(image, in);
    }
    output.finish();
    return output.exceeded() ? 0 : result;
}

}  // namespace

int readPgmStream(Image& image, std::FILE* in) {
    if (!readMagic(in)) {
        printUnknownFileType();
        return 0;
    }
    return readPgmBody(image, in);
}

int readConverted(Image& image, const char* path) {
    return readConvertedWithin(image, path, converterBounds);
}

int readConvertedWithin(Image& image, const char* path, RunBounds bounds) {
    {
        InputFile file(path);
        if (!file) {
            if (!file.failureReported()) printCannotOpenPicture(path);
            return 0;
        }
        if (readMagic(file.get())) {
            setNameAndPath(image, path);
            return readPgmBody(image, file.get());
        }
    }
    return readThroughConverter(image, path, bounds);
}

}  // namespace tarnview
