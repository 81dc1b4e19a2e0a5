#pragma once
// Sub-pixel translation of real images by a phase ramp on their Fourier transform. With
// the forward kernel exp(+2 pi i (u x/nx + v y/ny)) the ramp 2 pi (tx u/nx + ty v/ny)
// added to every phase moves the content by (+tx, +ty) pixels, circularly.
#include "image/Image.h"

namespace tarnview {

/// The translation step. transform is the real/imaginary Fourier image of an nx x ny
/// image; every pair becomes amplitude / (nx ny) with the phase ramp of (tx, ty) added
/// (amplitude, phase and ramped phase rounded to float), every stored row with its own
/// frequency. Then transform is inverse-transformed into target (same scale as the image
/// transformed), which keeps its title. Returns 1; 0 with target unchanged after printing
/// "Translate: shift %f,%f is not finite, image left unchanged\n" (transform unchanged
/// then), or silently when the inverse transform fails (see iftInto).
int translateTransformInto(Image& transform, double tx, double ty, Image& target);

/// Moves the real image by (tx, ty) pixels (sub-pixel, circular) in place, keeping its
/// title and size. Returns 1; 0 with the image unchanged after the transform's message
/// when it cannot be transformed, or after the message of translateTransformInto.
int translateImage(Image& image, double tx, double ty);

}  // namespace tarnview
