#include "analysis/analysisMessages.h"

#include <cstdio>

namespace tarnview {

// Cross-correlation, centring and translational alignment.

// Rotation, regions, flips and rotational alignment.

// Fourier profiles, curve filters, averaging, point operations and masks.

}  // namespace tarnview
