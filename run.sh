#!/usr/bin/env bash
# Builds Terravel and starts the editor. Arguments go to the program (a project file to open).
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'TEXT'
Terravel is a desktop program and there is no display to show its window on
(neither DISPLAY nor WAYLAND_DISPLAY is set). Start ./run.sh
  - from a terminal of your desktop session, or
  - over SSH with X forwarding: connect with `ssh -X`, then ./run.sh, or
  - on a virtual X server: apt-get install xvfb xauth, then `xvfb-run -a ./run.sh`.
The command-line tool needs no display: build/src/cli/terravel-cli --help
TEXT
  exit 1
fi
terravel_prepare
terravel_build --target terravel
exec "$TERRAVEL_BUILD/src/app/terravel" "$@"
