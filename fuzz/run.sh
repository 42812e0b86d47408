#!/usr/bin/env bash
# A fuzzing campaign: builds the fuzz targets (clang, ASan, UBSan) and runs each one after the
# other for the given number of seconds (default 600), at low priority. New inputs go to a working
# corpus in the build folder, crashes to build-fuzz/crashes/; the seed corpora in fuzz/corpus/
# are read, never written. The shared real maps join the Unreal text target's corpus where they
# stand.
#
#   fuzz/run.sh [SECONDS] [TARGET...]      targets: projectfile t3dimport xyzimport background heightmap shaping exports
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${TERRAVEL_FUZZ_BUILD:-$ROOT/build-fuzz}"
SECONDS_EACH="${1:-600}"
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(projectfile t3dimport xyzimport background heightmap shaping exports)

source "$ROOT/scripts/common.sh"
terravel_prepare
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DTERRAVEL_FUZZ=ON -DTERRAVEL_BUILD_TESTS=OFF \
  -DTERRAVEL_BUILD_BENCH=OFF ${TERRAVEL_CMAKE_ARGS:-} >/dev/null
nice cmake --build "$BUILD" --target fuzz_targets

mkdir -p "$BUILD/crashes"
for target in "${TARGETS[@]}"; do
  work="$BUILD/corpus/$target"
  mkdir -p "$work"
  extra=()
  if [ "$target" = t3dimport ] && [ -d "$ROOT/../shared/t3d" ]; then extra+=("$ROOT/../shared/t3d"); fi
  echo "== $target: ${SECONDS_EACH}s"
  # The largest seed decides how long inputs may grow; a picture or a map of 64 KiB says enough.
  nice -n 15 "$BUILD/fuzz/fuzz_$target" -max_total_time="$SECONDS_EACH" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$BUILD/crashes/$target-" \
    "$work" "$ROOT/fuzz/corpus/$target" "${extra[@]}" 2>&1 | tee "$BUILD/fuzz-$target.log" |
    grep -E "^#[0-9]+ +(INITED|DONE)|^stat::|ERROR|SUMMARY|fuzz check failed" || true
done
