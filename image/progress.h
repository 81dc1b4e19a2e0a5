#pragma once
// The progress record of long operations: the time and message of the current stage.
// It prints nothing; a front end may poll it.
#include <ctime>

namespace tarnview {

/// Records the current time and message; done == -1 clears the record instead.
/// The message is borrowed, not copied.
void reportProgress(int done, int total, const char* message);
/// Message of the current stage, or null when none.
const char* progressMessage();
/// Time of the last report in seconds since the epoch, or 0 when none.
std::time_t progressTime();
/// Saturates a 64-bit progress figure to int (only the value -1 has a meaning).
int progressFigure(long long value);

}  // namespace tarnview
