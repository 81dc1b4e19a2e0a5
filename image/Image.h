#pragma once
// Image: the library's one data object. A 2-D (optionally multi-section) array of 32-bit
// floats with its size, complex/Fourier flags, statistics and histogram, greyscale limits,
// title and source path, copies of the file headers it was read with, its boxes and a
// cached Fourier-space profile.
//
// Sample (x, y, z) is data[x + y*nx + z*nx*ny]. For a complex image nx counts floats and
// the samples that count for statistics and display are the first float of each pair.
//
// An Image is not copyable: `Image b = a;` does not compile. The metadata-only copy used
// for derived images is spelled out: `Image b(metadataCopy, a);`.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "image/BoxRecord.h"
#include "image/ImagicRecord.h"
#include "image/MrcHeader.h"

namespace tarnview {

/// Tag of the metadata-only copy constructor.
struct MetadataCopy {
    explicit MetadataCopy() = default;
};
inline constexpr MetadataCopy metadataCopy{};

/// Bits of Image::getFlags().
enum ImageFlags : int32_t {
    complexFlag = 1,   // samples are complex, two floats per element
    fourierFlag = 2,   // set with complexFlag by the forward transform; never tested
    realImagFlag = 4,  // pairs are (real, imaginary); clear: (amplitude, phase)
};

/// The grey limit value meaning "not chosen yet".
inline constexpr float greyUnset = -999.0f;

/// Parameter record created on first request; nothing in the library gives it meaning.
struct ExtraParams {
    unsigned char bytes[36];
};

class Image {
  public:
    /// Empty image: 0 x 0 x 0, a 1024-float buffer, no headers, grey limits unset,
    /// mag and deltaX from the parameter defaults.
    Image();
    /// Metadata-only copy: the MRC header (a copy), mag, deltaX, name and path of src;
    /// everything else as a new image (no samples, flags 0, grey limits unset).
    Image(MetadataCopy, const Image& src);
    ~Image();

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Name and path. getName reads "na" and getPath "unknown" when unset.
    /// The title, or "na".
    const char* getName() const;
    /// Stores a copy of s; null or "na" unsets it. Returns 1.
    int setName(const char* s);
    /// The source path, or "unknown".
    const char* getPath() const;
    /// Stores a copy of s and returns 1; null or "unknown" unsets it and returns 0.
    int setPath(const char* s);

    // Headers, owned by the image.
    MrcHeader* getMrcHeader() { return mrcHeader.get(); }
    const MrcHeader* getMrcHeader() const { return mrcHeader.get(); }
    ImagicRecord* getImagicHeader() { return imagicHeader.get(); }
    const ImagicRecord* getImagicHeader() const { return imagicHeader.get(); }
    /// Takes ownership of block (allocated with new); a different previous block is released.
    void setMrcHeader(MrcHeader* block);
    /// Takes ownership of record (allocated with new); a different previous record is released.
    void setImagicHeader(ImagicRecord* record);

    // Geometry and samples.
    /// Reallocates the samples to nx*ny*nz floats, keeping the old ones up to the smaller
    /// size (new ones are undefined), and sets the sizes. Statistics are not updated.
    /// Returns 1, or 0 (image unchanged) for a negative size, a count beyond the address
    /// space or a failed allocation.
    int resize(int nx, int ny, int nz);
    /// As resize, but every sample becomes 0.0 and none is kept. The zeros come from a
    /// fresh allocation: memory the system hands out zeroed is not written, so the pages
    /// of samples that stay 0.0 cost nothing until they are written. Returns 1, or 0
    /// (image unchanged) as resize.
    int resizeZeroed(int nx, int ny, int nz);
    float* getData() { return data; }
    const float* getData() const { return data; }
    /// Address of the second float of the samples.
    float* getDataPlusOne() { return data + 1; }
    /// data[x + y*nx] of the first section, or 0 outside the image.
    float getPixel(int x, int y) const;
    /// Copies a w x h rectangle of the first section of a real image into dst (w*h floats),
    /// shifting it inside the image. 0 for a complex image or a rectangle larger than it.
    int copyRegion(float* dst, int x0, int y0, int w, int h) const;
    /// Copies h rows of w floats of a complex image into dst, each from its row's first
    /// float. 0 for a real image or a rectangle larger than the image.
    int copyComplexRows(float* dst, int x0, int y0, int w, int h) const;
    /// Makes this image the size x size square of src at (x0, y0) (shifted inside src),
    /// with src's MRC header and path. Statistics are left to the caller. 0 (image
    /// unchanged) when size is not positive or exceeds src; a complex src gives zeros.
    int cutOutFrom(const Image& src, int x0, int y0, int size);

    // Flags.
    int getFlags() const { return flags; }
    int setFlags(int f) {
        flags = f;
        return 1;
    }
    int isComplex() const { return (flags & complexFlag) ? 1 : 0; }

    // Plain accessors.
    int getNx() const { return nx; }
    int getNy() const { return ny; }
    int getNz() const { return nz; }
    float getMin() const { return min; }
    float getMax() const { return max; }
    float getHistMin() const { return histMin; }
    float getHistMax() const { return histMax; }
    float getMean() const { return static_cast<float>(mean); }
    float getSigma() const { return static_cast<float>(sigma); }
    double getMeanDouble() const { return mean; }
    double getSigmaDouble() const { return sigma; }
    double getEdgeMean() const { return edgeMean; }
    double getEdgeSigma() const { return edgeSigma; }
    /// (histMax - mean) / (max - mean), in double, rounded to float.
    float getUpperClipFraction() const;
    float* getHistogram() { return histogram; }
    const float* getHistogram() const { return histogram; }
    float getMag() const { return mag; }
    int setMag(float m) {
        mag = m;
        return 1;
    }
    /// mag = parameter "mag" (30.0), deltaX = parameter "scanres" (25.0) / mag * 10,
    /// computed in double: what the constructor and every reader do.
    void setSamplingFromParameters();
    float getDeltaX() const { return deltaX; }
    int setDeltaX(float d) {
        deltaX = d;
        return 1;
    }
    float getGreyLow() const { return greyLow; }
    float getGreyHigh() const { return greyHigh; }
    /// Sets both limits at once, unchecked.
    int setGreyLimits(float low, float high) {
        greyLow = low;
        greyHigh = high;
        return 1;
    }
    BoxRecord* getBoxes() { return boxes.get(); }
    const BoxRecord* getBoxes() const { return boxes.get(); }
    int getBoxCount() const { return boxCount; }
    int getBoxCapacity() const { return boxCapacity; }
    /// Forgets the boxes; the storage stays allocated.
    int clearBoxes() {
        boxCount = 0;
        return 1;
    }
    // Box list (boxList.cpp). After every operation at least one record beyond the
    // boxes in use is free; the list grows by 8 records at a time.
    /// Appends a box with marks -1 and a copy of name (cut to 39 characters; null stores
    /// an empty name), first growing the list when boxCount has reached boxCapacity - 1.
    /// Returns 1, or 0 (list unchanged) when the list cannot grow.
    int addBox(int16_t x, int16_t y, int16_t width, int16_t height, const char* name);
    /// Removes box index, moving the later boxes down one place. Returns the new count;
    /// an index outside the list changes nothing.
    int removeBox(int index);
    /// Grows the list by 8 records when boxCount has reached boxCapacity - 1, as the box
    /// database reader does after each box it counts. Returns 1, or 0 when it cannot grow.
    int keepSpareBox();
    int getTag() const { return tag; }
    int setTag(int t) {
        tag = t;
        return 1;
    }
    float* getProfile() { return profile.get(); }
    int getProfileKind() const { return profileKind; }
    float getProfileStep() const { return profileStep; }
    /// The profile table (400 floats: 200 bin positions, then 200 values), allocated and
    /// zeroed on the first call and owned by the image; null when memory runs out.
    float* allocateProfile();
    /// Records which profile the table holds (-1: none). Returns 1.
    int setProfileKind(int kind) {
        profileKind = kind;
        return 1;
    }
    /// Records the bin width of the profile in the table. Returns 1.
    int setProfileStep(float step) {
        profileStep = step;
        return 1;
    }
    int hasExtraParams() const { return extraParams ? 1 : 0; }
    /// The parameter record, allocated (zeroed) on the first call and kept.
    ExtraParams* getExtraParams();

    // Statistics (statistics.cpp).
    /// Recomputes min, max, mean, sigma, the border statistics and the histogram, and
    /// chooses default grey limits while they are unset. Prints the bad-statistics report
    /// when mean or sigma is NaN. Returns 1.
    int updateStatistics();
    /// Sets the histogram range to (lo, hi) and refills the 256 bins. Returns 1.
    int computeHistogram(float lo, float hi);

  private:
    std::unique_ptr<MrcHeader> mrcHeader;
    std::unique_ptr<ImagicRecord> imagicHeader;
    int32_t flags = 0;
    float* data = nullptr;  // owned; see sampleBuffer.h
    int64_t dataCount = 0;  // floats allocated in data
    int32_t nx = 0;
    int32_t ny = 0;
    int32_t nz = 0;
    float min = 0;
    float max = 0;
    float histMax = 0;
    float histMin = 0;
    double mean = 0;
    double sigma = 0;
    double edgeMean = 0;
    double edgeSigma = 0;
    float mag = 0;
    float deltaX = 0;
    float histogram[257] = {};  // cells 0..255 in percent; 256 is the spill cell
    float greyLow = greyUnset;
    float greyHigh = greyUnset;
    std::optional<std::string> name;
    std::optional<std::string> path;
    std::unique_ptr<BoxRecord[]> boxes;
    int32_t boxCapacity = 4;
    int32_t boxCount = 0;
    int32_t tag = 0;
    std::unique_ptr<float[]> profile;  // 200 bin positions, then 200 values
    int32_t profileKind = -1;
    float profileStep = 0;
    std::unique_ptr<ExtraParams> extraParams;
};

}  // namespace tarnview
