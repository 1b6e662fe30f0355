#!/usr/bin/env bash
# Builds the fuzz programs in build-fuzz (clang, ASan + UBSan + libFuzzer) and runs each one
# briefly on a copy of its seed corpus. Fails on the first finding; the input that caused it
# is kept in build-fuzz/findings/<program>/.
#
#   scripts/run-fuzz.sh [program...]      default: all programs
#   FUZZ_SECONDS=300 scripts/run-fuzz.sh fuzz_filter
#   FUZZ_CMAKE_ARGS=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache scripts/run-fuzz.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
seconds="${FUZZ_SECONDS:-25}"
programs=("$@")
if [ ${#programs[@]} -eq 0 ]; then
  programs=(fuzz_filter fuzz_query fuzz_listfile fuzz_vocabulary fuzz_keystore fuzz_picture fuzz_paradox)
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORBEL_FUZZ=ON -DQUORBEL_BUILD_TESTS=OFF -DQUORBEL_BUILD_BENCH=OFF ${FUZZ_CMAKE_ARGS:-} >/dev/null
cmake --build build-fuzz --target fuzz_all -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"

# The most bytes one input may have: pictures need room for headers and some content, a
# table its header, a block and a blob file of two 4 KB blocks; the text readers stay short
# so the time goes into their grammar.
max_len() {
  case "$1" in
    fuzz_picture) echo 65536 ;;
    fuzz_keystore) echo 8192 ;;
    fuzz_paradox) echo 16384 ;;
    *) echo 4096 ;;
  esac
}

# The programs write a file per input: a file system in memory keeps them fast.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for program in "${programs[@]}"; do
  name="$program"
  corpus="$scratch/$name"
  mkdir -p "$corpus"
  # The runs add inputs to a copy only; the committed corpus stays as it is.
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  findings="$root/build-fuzz/findings/$program"
  mkdir -p "$findings"
  options=(-max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=30
           -max_len="$(max_len "$program")" -artifact_prefix="$findings/" -print_final_stats=1)
  if [ -f "fuzz/dict/$name.dict" ]; then options+=(-dict="$root/fuzz/dict/$name.dict"); fi
  echo "== $program: ${seconds} s"
  if ! (cd "$scratch" && "$root/build-fuzz/fuzz/$program" "${options[@]}" "$corpus" \
          >"$scratch/$program.log" 2>&1); then
    tail -n 60 "$scratch/$program.log"
    echo "FINDING in $program; input kept in $findings/" >&2
    exit 1
  fi
  grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done )' "$scratch/$program.log" || true
done
echo "All fuzz programs ran without findings."
