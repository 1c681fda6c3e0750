#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each on its committed seed corpus.
#   fuzz/run-fuzzers.sh [executions per target]   (default: one million)
#   fuzz/run-fuzzers.sh --seconds N               (each target for N seconds, as CI does)
# Stops at the first target that finds a crash, a leak, a broken property,
# an input slower than 10 s or one taking more than 1 GB; the input is kept
# as build-fuzz/<target>-crash-..., -timeout-... or -oom-....
set -euo pipefail
cd "$(dirname "$0")/.."

budget=(-runs="${1:-1000000}")
if [ "${1:-}" = --seconds ]; then
  budget=(-max_total_time="${2:?--seconds needs a number}")
fi
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

# Only the fuzzers and the libraries they take: the window and the tests
# are not built here.
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz "${generator[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESMORA_FUZZ=ON -DTESMORA_SANITIZE=ON \
  -DTESMORA_BUILD_TESTS=OFF -DTESMORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target tesmora_fuzzers --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# target:corpus:longest input[:dictionary]. The text path's inputs are held
# shorter: their checks compare the code with plain models that take
# quadratic time.
for target in SubtitleLoadFuzzer:subtitles:8192 AssReaderFuzzer:ass:8192 IfoFuzzer:ifo:8192 SettingsFuzzer:settings:8192 \
              HttpAnswerFuzzer:http:8192 TextDecodeFuzzer:textdecode:8192 \
              CueTextFuzzer:cuetext:2048:markup.dict TimelineFuzzer:timeline:4096 \
              TextPathFuzzer:textpath:4096:markup.dict ProgramStreamMuxFuzzer:mux:16384 \
              PgsCheckFuzzer:pgs:16384 VttReaderFuzzer:vtt:8192:vtt.dict BdnXmlFuzzer:bdn:8192; do
  IFS=: read -r name corpus maxLength dictionary <<<"$target"
  seeds=fuzz/corpus/$corpus
  work=build-fuzz/corpus/$corpus
  options=()
  [ -n "$dictionary" ] && options+=(-dict=fuzz/"$dictionary")
  mkdir -p "$work"
  echo "== $name: ${budget[*]}"
  ./build-fuzz/fuzz/"$name" "${budget[@]}" "${options[@]}" -max_len="$maxLength" -timeout=10 \
    -rss_limit_mb=1024 -artifact_prefix=build-fuzz/"$name"- "$work" "$seeds"
done
