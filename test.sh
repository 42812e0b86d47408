#!/usr/bin/env bash
# Builds everything (warnings are errors) and runs every test, then the sanitizer stage: the
# model, formats, cli and render tests under ASan and UBSan, and a replay of the fuzz corpora.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
# xvfb and x11-utils (xwininfo): one test starts the editor on a virtual X server; another
# installs the build and validates the installed tree.
terravel_prepare xvfb xauth x11-utils "${TERRAVEL_PACKAGING_PACKAGES[@]}"
TERRAVEL_CMAKE_ARGS="-DTERRAVEL_WERROR=ON" terravel_build
(cd "$TERRAVEL_BUILD" && ctest --output-on-failure)
"$TERRAVEL_ROOT/scripts/sanitize.sh"
