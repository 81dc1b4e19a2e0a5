#include "formats/pathName.h"

#include <cstring>

#include "image/Image.h"

namespace tarnview {

void setNameAndPath(Image& image, const char* path) {
    const char* slash = std::strrchr(path, '/');
    image.setName(slash != nullptr ? slash + 1 : path);
    image.setPath(path);
}

int hasEnding(const char* path, const char* ending) {
    const size_t length = std::strlen(path);
    const size_t n = std::strlen(ending);
    return length >= n && std::memcmp(path + length - n, ending, n) == 0 ? 1 : 0;
}

}  // namespace tarnview
