#!/usr/bin/env bash
# Builds Terravel and starts it. Arguments go to the program.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
terravel_prepare
terravel_build --target terravel-cli
# The editor's window is not there yet: until it is, this starts the command-line tool.
exec "$TERRAVEL_BUILD/src/cli/terravel-cli" "${@:---help}"
