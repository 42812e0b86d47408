#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the installed tree: the files are where
# the desktop expects them, the programs run from there and find their examples, and the desktop
# entry, the AppStream file and the MIME package pass their validators.
# Usage: check_install.sh BUILD_FOLDER VERSION APP_ID. Exit 77 (skipped) when a validator is missing.
set -euo pipefail
build="$1" version="$2" id="$3"

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (packages desktop-file-utils, appstream)"
    exit 77
  fi
done

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/usr"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for file in bin/terravel bin/terravel-cli share/terravel/examples/Valley.tvp \
            "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" "share/mime/packages/$id.xml" \
            "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/48x48/apps/$id.png" \
            "share/icons/hicolor/256x256/apps/$id.png" share/man/man1/terravel.1 share/man/man1/terravel-cli.1; do
  [ -f "$usr/$file" ] || fail "$file is not installed"
done

# The programs run from the installed tree; the editor needs no display for these.
[ "$("$usr/bin/terravel-cli" --version)" = "terravel-cli $version" ] || fail "terravel-cli --version"
export QT_QPA_PLATFORM=offscreen
[ "$(env -u DISPLAY "$usr/bin/terravel" --version)" = "Terravel $version" ] || fail "terravel --version"
# The editor names the folder it takes the examples from.
"$usr/bin/terravel" --help | grep -qxF "Example projects: $usr/share/terravel/examples" ||
  fail "the installed editor does not look for its examples in $usr/share/terravel/examples"

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
mime="$usr/share/mime/packages/$id.xml"
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" || fail "the MIME package is no well-formed XML"
else
  python3 -c 'import sys, xml.etree.ElementTree as tree; tree.parse(sys.argv[1])' "$mime" ||
    fail "the MIME package is no well-formed XML"
fi
# The MIME database takes the package and knows the type by its glob and its signature.
if command -v update-mime-database >/dev/null; then
  XDG_DATA_DIRS="$usr/share" update-mime-database "$usr/share/mime" || fail "update-mime-database"
  grep -q "application/x-terravel-project:\*\.tvp" "$usr/share/mime/globs" || fail "no *.tvp glob"
  grep -q "application/x-terravel-project" "$usr/share/mime/magic" || fail "no signature magic"
fi
echo "installed tree checked"
