#!/usr/bin/env bash
# Builds everything (warnings are errors) and runs every test.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
terravel_prepare
TERRAVEL_CMAKE_ARGS="-DTERRAVEL_WERROR=ON" terravel_build
cd "$TERRAVEL_BUILD"
ctest --output-on-failure
