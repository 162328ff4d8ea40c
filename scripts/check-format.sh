#!/usr/bin/env bash
# Fails when a source file differs from the root .clang-format style.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files 'Engine/*.h' 'Engine/*.cpp' 'Game/*.h' 'Game/*.cpp' 'Host/*.h' 'Host/*.cpp' \
        'tests/*.h' 'tests/*.cpp' 'bench/*.cpp')
if ! clang-format --dry-run -Werror $files; then
    echo "Formatting differs: run clang-format -i on the files above." >&2
    exit 1
fi
echo "formatting ok"
