#include "analysis/columnsFile.h"

#include <cstdio>

namespace tarnview {

int writeColumns(const float* x, const float* y, int n, const char* path) {
    std::FILE* file = std::fopen(path, "w");
    if (!file) return 0;
    int ok = 1;
    for (int i = 0; i < n && ok; i++) ok = std::fprintf(file, "%g\t%g\n", double(x[i]), double(y[i])) > 0;
    if (std::fclose(file) != 0) ok = 0;
    return ok;
}

}  // namespace tarnview
