#pragma once
// The bounds on the run of the converted-image reader's external converters, and the
// reader with other bounds (for the tests).
#include "formats/boundedOutput.h"

namespace tarnview {

class Image;

/// A converter may run 60 s and write 1 GiB (a 16-bit picture of 23000 x 23000).
inline constexpr RunBounds converterBounds = {60000, int64_t(1) << 30};

/// readConverted with the converter's run held to bounds.
int readConvertedWithin(Image& image, const char* path, RunBounds bounds);

}  // namespace tarnview
