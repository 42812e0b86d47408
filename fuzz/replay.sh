#!/usr/bin/env bash
# Runs every input of the seed corpora once through its fuzz target (and the shared real maps
# through the Unreal text target where they stand). Any sanitizer report or broken check fails.
#
#   fuzz/replay.sh BUILD_FOLDER
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$1"
status=0
for target in projectfile t3dimport xyzimport background heightmap shaping exports; do
  inputs=("$ROOT/fuzz/corpus/$target"/*)
  if [ "$target" = t3dimport ] && [ -d "$ROOT/../shared/t3d" ]; then inputs+=("$ROOT/../shared/t3d"/*.t3d); fi
  # Named files are run once each, whatever their size; no fuzzing follows.
  if "$BUILD/fuzz/fuzz_$target" -rss_limit_mb=4096 "${inputs[@]}" >"$BUILD/replay-$target.log" 2>&1; then
    echo "replay $target: ${#inputs[@]} inputs, no findings"
  else
    echo "replay $target FAILED (${#inputs[@]} inputs):" >&2
    grep -E "ERROR|SUMMARY|fuzz check failed|Running:" "$BUILD/replay-$target.log" | tail -20 >&2
    status=1
  fi
done
exit $status
