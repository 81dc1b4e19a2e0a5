#pragma once
// Two-column text files of float curves.

namespace tarnview {

/// Writes n lines "%g\t%g\n" of x[i] and y[i] to path, creating or replacing the file.
/// Returns 1, or 0 without a message when the file cannot be opened or written.
int writeColumns(const float* x, const float* y, int n, const char* path);

}  // namespace tarnview
