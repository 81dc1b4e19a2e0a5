#!/bin/sh
# Checks that every C++ file of the tree is formatted as the committed .clang-format
# says; lists the files that are not (format them with `clang-format -i file...`).
# Exits 77 (a skip for CTest) when clang-format 14, the version the tree is formatted
# with, is not installed: other versions lay out some constructs differently.
top=$(cd "${1:-$(dirname "$0")/..}" && pwd)
format=""
for candidate in clang-format-14 clang-format; do
  if command -v "$candidate" >/dev/null 2>&1 && "$candidate" --version | grep -q "version 14\."; then
    format=$candidate
    break
  fi
done
if [ -z "$format" ]; then
  echo "clang-format 14 not found: format check skipped"
  exit 77
fi
cd "$top" || exit 1
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files '*.cpp' '*.h')
else
  files=$(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
# One run over every file; each place that differs is reported as "file:line:col: error".
report=$("$format" --style=file --dry-run --Werror $files 2>&1) && exit 0
echo "$report" | grep -o '^[^:]*: *[0-9]*:[0-9]*: error' | cut -d: -f1 | sort -u | sed 's/^/not formatted: /'
exit 1
