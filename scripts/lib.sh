# Shared by the scripts: the Debian packages the project needs, installed
# when missing, and the configure-and-build step.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Build tools, the libraries, the CJK fonts the window falls back to, and the
# X server and tools the real-window test and the screenshots use.
PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev llvm
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins fonts-noto-cjk
  xvfb xauth xdotool imagemagick
  dpkg-dev file python3
)

ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

# configure DIR [cmake options...]: configures DIR once; later runs reuse it.
configure() {
  local dir=$1
  shift
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
  configure "$@"
  cmake --build "$1"
}
