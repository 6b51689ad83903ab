# The static Qt that the Windows build links: cross-built once from Debian's
# own qt6-base source, the same version as the build machine's Qt (whose moc,
# rcc and uic it uses), and kept outside the repository in a folder named by
# everything that goes into it. Sourced by lib.sh.
# shellcheck shell=bash

WINDOWS_TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
# Debian keeps the host Qt's CMake files in the multiarch folder.
HOST_QT_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake

# Only what Quorvel uses: Core, Gui, Widgets and Test, the Windows and
# offscreen platform plugins. Debian's source has no src/3rdparty/wintab, so
# tablet support is off.
WINDOWS_QT_OPTIONS=(
  -release -optimize-size -static -static-runtime -xplatform win32-g++ -qt-host-path /usr
  -nomake tests -nomake examples
  -no-opengl -no-dbus -no-icu -no-openssl
  -no-feature-sql -no-feature-network -no-feature-concurrent -no-feature-xml
  -no-feature-printsupport -no-feature-tabletevent -no-feature-vulkan
  -no-feature-textmarkdownreader -no-feature-textmarkdownwriter -no-feature-textodfwriter
  -qt-zlib -qt-libpng -no-libjpeg -qt-pcre -qt-freetype -qt-harfbuzz -qt-doubleconversion -no-zstd
  -- -G Ninja -DQT_HOST_PATH_CMAKE_DIR=$HOST_QT_CMAKE_DIR
)

# The Debian source package of the build machine's Qt, e.g. 6.4.2+dfsg-10.
host_qt_version() {
  dpkg-query -W -f='${source:Version}' qt6-base-dev
}

# The folder the Windows Qt lives in; its name carries the source version, the
# compiler's version and a hash of the options and the toolchain file.
windows_qt_dir() {
  local compiler hash
  compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
  hash=$( { printf '%s\n' "${WINDOWS_QT_OPTIONS[@]}"; cat "$WINDOWS_TOOLCHAIN"; } | sha256sum | cut -c1-12)
  echo "${XDG_CACHE_HOME:-$HOME/.cache}/quorvel/qt-$(host_qt_version)-win64-gcc-${compiler%%+*}-$hash"
}

# Fetches the source with apt-get source, through a private sources list and
# state folder: the machine's own apt configuration is left as it is. The
# archive is the one the installed qt6-base-dev came from.
fetch_qt_source() { # fetch_qt_source DIR
  local dir=$1 version archive suite
  version=$(host_qt_version)
  read -r archive suite < <(apt-cache policy qt6-base-dev |
    awk '/\*\*\*/ { getline; split($3, s, "/"); print $2, s[1]; exit }')
  if [ -z "$archive" ] || [ "$archive" = /var/lib/dpkg/status ]; then
    echo "windows-qt: cannot tell which archive qt6-base-dev $version came from" >&2
    return 1
  fi
  local apt=$dir/apt
  mkdir -p "$apt/sources.list.d" "$apt/state/lists/partial" "$apt/cache/archives/partial"
  cat >"$apt/sources.list.d/qt6-base-source.sources" <<EOF
Types: deb-src
URIs: $archive
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  local opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources.list.d"
    -o "Dir::State=$apt/state" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" update -qq
  (cd "$dir" && apt-get "${opts[@]}" source -qq "qt6-base=$version")
}

# ensure_windows_qt: sets WINDOWS_QT to the folder of a built Windows Qt,
# building it first when no folder of that name is complete, and
# WINDOWS_CONFIGURE to the options that configure Quorvel against it.
ensure_windows_qt() {
  WINDOWS_QT=$(windows_qt_dir)
  WINDOWS_CONFIGURE=(-DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" -DCMAKE_PREFIX_PATH="$WINDOWS_QT"
    -DCMAKE_FIND_ROOT_PATH="$WINDOWS_QT" -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=$HOST_QT_CMAKE_DIR
    -DQUORVEL_QT_SOURCE_VERSION="$(host_qt_version)")
  [ -f "$WINDOWS_QT/.complete" ] && return 0
  local cache last work start
  cache=$(dirname "$WINDOWS_QT")
  if [ -f "$cache/last-build-minutes" ]; then
    last="last time it took $(cat "$cache/last-build-minutes") minutes"
  else
    last="it takes about 40 minutes on 2 cores"
  fi
  work="$WINDOWS_QT.work"
  rm -rf "$work" "$WINDOWS_QT"
  mkdir -p "$work"
  step "fetching Debian's qt6-base $(host_qt_version) source" fetch_qt_source "$work"
  local src
  src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
  say "Qt for Windows is built once, into $WINDOWS_QT, and reused later: $last"
  start=$(date +%s)
  step "configuring Qt for Windows" bash -c 'mkdir -p "$1/build" && cd "$1/build" &&
    "$2/configure" -prefix "$3" "${@:5}" -DCMAKE_TOOLCHAIN_FILE="$4"' \
    _ "$work" "$src" "$WINDOWS_QT" "$WINDOWS_TOOLCHAIN" "${WINDOWS_QT_OPTIONS[@]}"
  step "building Qt for Windows" cmake --build "$work/build" --parallel
  step "installing Qt for Windows" cmake --install "$work/build"
  echo $((($(date +%s) - start + 59) / 60)) >"$cache/last-build-minutes"
  touch "$WINDOWS_QT/.complete"
  rm -rf "$work"
}
