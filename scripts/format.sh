#!/usr/bin/env bash
# Formats every C++ source file of the checkout with the project's .clang-format, or with
# --check only says which ones are not formatted (and fails): the test command checks.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(-i)
[[ ${1:-} == --check ]] && mode=(--dry-run --Werror)
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format "${mode[@]}"
