#pragma once
// Rendering of an Image into 8-bit and 32-bit rasters through its grey limits, with zoom
// and panning. The image's first row is drawn at the bottom of the raster: raster row r
// starts at byte r * rowBytes, and rows or columns outside the drawn window (and rows
// that end early at the end of the samples) are left as they were. The caller provides
// a raster of at least h rows of rowBytes bytes.
//
// Window arguments: x0, y0 are the first source column and row (negative values place
// the image further right or further up in the raster); w, h the raster size in pixels;
// scale the raster pixels per source sample (1 is 1:1, 0.5 draws every second sample).
// A scale that is not a positive number draws nothing.

namespace tarnview {

class Image;

/// Maps samples to bytes: lo at or below greyLow, hi at or above greyHigh, lo + the
/// truncated linear value in between (low 8 bits stored); NaN gives lo. Crossed limits
/// (greyLow > greyHigh) give lo everywhere; equal limits are first stored back into the
/// image as (greyLow, greyHigh - 0.01). A complex image is drawn as the centred view of
/// the first float of each element (zero frequency at pixel (nx - 2) / 2 at 1:1).
/// Returns 1. Prints nothing.
int renderGrey(Image& image, unsigned char* out, int x0, int y0, int w, int h, int rowBytes, float scale,
               int lo, int hi);

/// A real image is drawn by renderGrey with the same arguments. A complex image is drawn
/// as the centred view of the second float of each element (the phase): lo at or below
/// -pi, hi at or above pi, linear in between; equal grey limits are first stored back as
/// (greyLow, greyHigh + 0.001). Returns 1. Prints nothing.
int renderPhase(Image& image, unsigned char* out, int x0, int y0, int w, int h, int rowBytes, float scale,
                int lo, int hi);

/// Draws 4-byte pixels (pixel q of raster row r at byte r * rowBytes + 4q): bytes 1 to 3
/// get the grey value, byte 0 is left as it was. Grey value 0 at or below greyLow, 255
/// at or above greyHigh, the truncated value of (v - greyLow) * 256 / (greyHigh -
/// greyLow) in between; NaN gives 0. A complex image shows the magnitude of each element
/// (source column x is element x of the row). Returns 1. Prints nothing.
int renderRgb32(const Image& image, unsigned char* out, int x0, int y0, int w, int h, int rowBytes,
                float scale);

}  // namespace tarnview
