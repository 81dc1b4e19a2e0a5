#pragma once
// The box database: a sectioned text file whose "!!! Pickit Cutouts !!!" section holds one
// line per box of an image ("x y width height 0 height/2 0 0 0 0 2 name"), followed by the
// box names under "!!! Real Images !!!" and the heads of the other, empty sections.
#include <cstdio>

namespace tarnview {

class Image;

/// Writes image's boxes to a new box database at path. Returns 1, or 0 after printing
/// "No boxes to save!\n" (no boxes; no file is created), "Unable to open file %s\n" (it
/// cannot be created) or "Unable to write file %s\n" (a write or the close failed).
int writeBoxDatabase(const Image& image, const char* path);

/// Adds the boxes of the box database at path to image's list (boxes already there are
/// kept). Returns 1 and prints "%d boxes for this image\n" with the whole list's count, or
/// prints "Unable to open file %s\n" and returns 0. See readBoxDatabaseStream.
int readBoxDatabase(Image& image, const char* path);

/// Reads a box database from in: finds the line beginning "!!! Pickit Cutouts", then
/// adds a box (marks -1) for each following line that holds four 16-bit values, seven
/// integers and a name (cut to 39 characters), until a line beginning "!!!" or the end.
/// Lines beginning "#" and lines that do not parse are skipped; a line longer than 118
/// characters is taken as its first 118, the rest passed over. After each box the list
/// keeps one free record. Prints "%d boxes for this image\n"; returns 1. in stays open.
int readBoxDatabaseStream(Image& image, std::FILE* in);

}  // namespace tarnview
