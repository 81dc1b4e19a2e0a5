#include "image/parameters.h"

namespace tarnview {

float getParameter(const char* /*name*/, float defaultValue) {
    return defaultValue;
}

}  // namespace tarnview
