#pragma once
// Fourier-space profiles of amplitude/phase images: the mean amplitude against spatial
// frequency (radial), against direction (angular), along a narrow wedge towards one
// coefficient, or around the ring through it. The profile lives in the image's table of
// 400 floats: floats 0 ... 199 the bin positions (profileStep x i), floats 200 ... 399 the
// mean amplitudes. Coefficient (u, v) is pair u of the row holding vertical frequency v.
#include "image/Image.h"

namespace tarnview {

/// The kinds of fourierProfile. Any other kind gives an all-zero profile of step 0.
enum ProfileKindValue : int {
    profileRadial = 0,   // 200 bins of width nx x 0.6 / 200 in frequency
    profileAngular = 1,  // 100 bins of pi/100 in direction (3 <= r <= nx/2 - 2), repeated
    profileWedge = 2,    // 200 bins of nx x 0.5 / 200 along +-10 degrees towards (a, b)
    profileRing = 3,     // 100 bins of pi/100 around the radii R - 5 ... R + 4, repeated
};

/// Builds the profile of kind over the amplitudes of image (a Fourier image in
/// amplitude/phase form) into its table and records kind and step in the image. a is a
/// column frequency and b a stored row: they name the coefficient that the wedge and
/// ring kinds aim at. A radial or angular profile is reused (not resampled) while the
/// image's profileKind still names it. Empty bins are interpolated linearly between the
/// filled bins around them; after the last filled bin they keep its value. Returns the
/// table (owned by the image), or null for a real image (nothing allocated) or when the
/// table cannot be allocated. Prints nothing.
float* fourierProfile(Image& image, int kind, int a, int b);

}  // namespace tarnview
