#pragma once
// Output of an Image as an 8-bit binary PGM ("P5") file.

namespace tarnview {

class Image;

/// Writes image 1:1 through its grey limits (renderGrey with 0 and 255) as a binary PGM:
/// the header "P5\n<nx> <ny>\n255\n", then ny rows of nx bytes, the image's last row
/// first. The two columns at the right of a complex image, which the centred view does
/// not draw, are 0. Returns 1, or 0 when the file cannot be opened ("Cannot open file for
/// writing\n"), a row buffer cannot be allocated, or a write or the close fails (each
/// with its message; the file is then incomplete).
int writePgm(Image& image, const char* path);

}  // namespace tarnview
