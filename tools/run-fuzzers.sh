#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each on its committed seed corpus.
#   tools/run-fuzzers.sh [executions per target]   (default: one million)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-1000000}
missing=()
for package in clang-14 libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
bash scripts/install-deps.sh

CC=clang-14 CXX=clang++-14 bash scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESMORA_FUZZ=ON -DTESMORA_SANITIZE=ON -DTESMORA_BUILD_TESTS=OFF \
  -DTESMORA_BUILD_BENCHMARKS=OFF

export QT_QPA_PLATFORM=offscreen
for target in SubtitleLoadFuzzer:subtitles IfoFuzzer:ifo SettingsFuzzer:settings \
              HttpAnswerFuzzer:http; do
  name=${target%%:*}
  seeds=fuzz/corpus/${target##*:}
  work=build-fuzz/corpus/${target##*:}
  mkdir -p "$work"
  echo "== $name: $runs executions"
  ./build-fuzz/fuzz/"$name" -runs="$runs" -max_len=8192 -timeout=10 \
    -artifact_prefix=build-fuzz/"$name"- "$work" "$seeds"
done
