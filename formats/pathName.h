#pragma once
// The parts of a file's path that the readers record and test.

namespace tarnview {

class Image;

/// Sets image's name to the last component of path (the text after the last "/", or the
/// whole path) and its path to path.
void setNameAndPath(Image& image, const char* path);

/// 1 when path ends in ending (compared exactly, case included), else 0.
int hasEnding(const char* path, const char* ending);

}  // namespace tarnview
