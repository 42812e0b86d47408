#!/usr/bin/env bash
# Renders the program's PNG icons from resources/icons/terravel.svg (needs rsvg-convert, from the
# Debian package librsvg2-bin). The PNGs are kept in the repository, so a build does not need it.
set -euo pipefail
icons="$(cd "$(dirname "$0")/../resources/icons" && pwd)"
for size in 48 256; do
  rsvg-convert --width "$size" --height "$size" --output "$icons/terravel-$size.png" "$icons/terravel.svg"
done
