#!/usr/bin/env bash
# The sanitizer stage of the tests: builds the model, formats, cli, render and window tests and the
# fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/,
# runs those tests, then replays every fuzz corpus once. Any sanitizer report fails the run. Of the
# window tests only the editor's start and a scripted session run here (main window, viewport
# editing, 3-D view; offscreen): the rest, with the real program on Xvfb, stays in the normal
# build, where it is quicker and less noisy.
set -euo pipefail
source "$(dirname "$0")/common.sh"
terravel_prepare
BUILD="${TERRAVEL_SANITIZE_BUILD:-$TERRAVEL_ROOT/build-sanitize}"
started=$(date +%s)

# -O1 with line tables: quick to build, fast enough to test, and stack traces name the lines.
CC=clang CXX=clang++ cmake -S "$TERRAVEL_ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O1 -gline-tables-only" \
  -DTERRAVEL_FUZZ=ON -DTERRAVEL_BUILD_BENCH=OFF ${TERRAVEL_CMAKE_ARGS:-} >/dev/null
cmake --build "$BUILD" --target tst_model tst_formats tst_cli tst_render tst_app terravel-cli fuzz_targets

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$BUILD" && ctest --output-on-failure -R '^(model|formats|cli|render)$')
# The editor: Qt's own libraries keep allocations to the end of the process, so leaks are not
# counted here; every other report still fails.
ASAN_OPTIONS="${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0}" QT_QPA_PLATFORM=offscreen \
  TERRAVEL_TEST_CLASSES=TestMainWindow,TestViewportEditing,TestView3D "$BUILD/tests/tst_app"
"$TERRAVEL_ROOT/fuzz/replay.sh" "$BUILD"
echo "Sanitizer stage: $(( $(date +%s) - started )) s"
