#!/bin/sh
# Fails when a C++ file of the project strays from the house format in .clang-format,
# naming each file and line that would move.
#   tools/check-format.sh
set -eu
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
