#pragma once
// Messages printed by the image operations, each in one place with its exact text.

namespace tarnview {

// Cross-correlation, centring and translational alignment.

// Rotation, regions, flips and rotational alignment.

// Fourier profiles, curve filters, averaging, point operations and masks.

}  // namespace tarnview
