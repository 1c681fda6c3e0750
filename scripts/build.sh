#!/usr/bin/env bash
# Configures and builds one build tree: build.sh <folder> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

folder=$1
shift
generator=()
if command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
cmake -S . -B "$folder" "${generator[@]}" "$@" >/dev/null
cmake --build "$folder" --parallel "$(nproc)"
