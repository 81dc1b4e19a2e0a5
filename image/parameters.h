#pragma once
// Named settings. The store is empty: every lookup returns its default. The names in
// use are "mag" (magnification, 30.0) and "scanres" (scan resolution, 25.0).

namespace tarnview {

/// The value of the named parameter, which is always the default given.
float getParameter(const char* name, float defaultValue);

}  // namespace tarnview
