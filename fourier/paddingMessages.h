#pragma once
// Messages of the noise padding, each in one place with its exact text.

namespace tarnview {

/// "Must pad an even number of pixels\n"
void printMustPadEven();
/// A padding request smaller than the image, or margins that do not fit.
void printCannotPadSmaller(int nx, int ny, int newNx, int newNy);
/// The enlarged buffer could not be allocated.
void printCannotAllocate(int nx, int ny);

}  // namespace tarnview
