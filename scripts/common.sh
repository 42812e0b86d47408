# Shared by run.sh and test.sh: make sure the Debian packages are there, then configure and build.
# Source it; it defines terravel_prepare and terravel_build.

TERRAVEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TERRAVEL_BUILD="${TERRAVEL_BUILD:-$TERRAVEL_ROOT/build}"

# What checking the installed tree needs (the validators of the desktop entry, the AppStream file
# and the MIME package) and what `cpack -G DEB` needs (dpkg-shlibdeps reads the dependencies).
TERRAVEL_PACKAGING_PACKAGES=(desktop-file-utils appstream libxml2-utils shared-mime-info dpkg-dev)

# Installs what is missing when run as root; otherwise prints the exact apt-get line and stops.
terravel_prepare() {
  # clang and its runtimes (libFuzzer, ASan, UBSan) build the sanitizer stage and the fuzz targets.
  local wanted=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6opengl6-dev libgl-dev libegl-dev libegl-mesa0
                libgl1-mesa-dri libbenchmark-dev fonts-dejavu-core
                libcgal-dev libgmp-dev libmpfr-dev libtinygltf-dev clang libclang-rt-14-dev "$@")
  local missing=()
  for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then return 0; fi
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  else
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}

# Configures (once) and builds the given targets, or everything.
terravel_build() {
  cmake -S "$TERRAVEL_ROOT" -B "$TERRAVEL_BUILD" -G Ninja ${TERRAVEL_CMAKE_ARGS:-} >/dev/null
  cmake --build "$TERRAVEL_BUILD" "$@"
}
