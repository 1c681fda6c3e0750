#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in a plain
# build with warnings as errors, and under AddressSanitizer and
# UndefinedBehaviorSanitizer; then runs each fuzz target for a short while
# (TESMORA_FUZZ_SECONDS, 20 s unless set; 0 leaves them out).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

echo "== Plain build"
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESMORA_WERROR=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

echo "== Sanitized build (ASan + UBSan)"
bash scripts/build.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTESMORA_WERROR=ON \
  -DTESMORA_SANITIZE=ON -DTESMORA_BUILD_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure --parallel "$(nproc)"

fuzz_seconds=${TESMORA_FUZZ_SECONDS:-20}
if [ "$fuzz_seconds" -gt 0 ]; then
  echo "== Fuzz targets, $fuzz_seconds s each"
  bash fuzz/run-fuzzers.sh --seconds "$fuzz_seconds"
fi
