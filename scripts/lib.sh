# Shared by the scripts: the Debian packages each purpose needs, installed
# when missing; quiet steps that show their output when they fail; configure
# and build; a private X server.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SCRIPT=$(realpath --relative-to="$ROOT" "$0")

# Building and running the window.
RUN_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
  fonts-noto-cjk)
# The tests, besides: Clang with its sanitizer runtimes and libFuzzer, GoogleTest,
# an X server with xdotool, xclip and ImageMagick for the real-window tests, the
# accessibility bus and its Python client, and the package checks.
TEST_PACKAGES=(clang libclang-rt-14-dev llvm libgtest-dev libbenchmark-dev
  xvfb xauth xdotool xclip imagemagick at-spi2-core dbus-x11 python3-pyatspi
  dpkg-dev file lintian)
# The Windows build: MinGW-w64. Its tests, besides: GoogleTest's source, Wine,
# the Chinese locale that Wine's own texts follow, and the 32-bit compiler,
# which builds the shared code once to keep it standard C++.
WINDOWS_BUILD_PACKAGES=(g++-mingw-w64-x86-64-posix)
WINDOWS_PACKAGES=("${WINDOWS_BUILD_PACKAGES[@]}" googletest wine wine64 locales
  g++-mingw-w64-i686-posix)
# The browser page: emscripten (with clang, lld, binaryen and Node's acorn),
# and pako, which unpacks the page's WebAssembly.
# Its tests, besides: Chromium, driven headless from Python; Firefox ESR and
# WebKitGTK's WebDriver with its MiniBrowser, in real windows; pdftotext, for
# the printed calculation sheet.
WEB_BUILD_PACKAGES=(emscripten node-pako)
WEB_PACKAGES=("${WEB_BUILD_PACKAGES[@]}" chromium python3 firefox-esr webkit2gtk-driver poppler-utils)
# The micro-benchmarks and the start-up measurements (Linux, Windows under
# Wine, and the page in Chromium).
BENCH_PACKAGES=(libbenchmark-dev xvfb xauth python3 "${WINDOWS_PACKAGES[@]}" "${WEB_PACKAGES[@]}")
# The .deb and the Windows zip.
PACKAGE_PACKAGES=(dpkg-dev file lintian)

# stage NAME: what follows is the stage NAME, until the next one; the time
# each took is kept for stage_times.
STAGE_TIMES=()
stage() {
  local now=$SECONDS
  [ -z "${STAGE_NAME:-}" ] || STAGE_TIMES+=("$(printf '%5ds  %s' $((now - STAGE_START)) "$STAGE_NAME")")
  STAGE_NAME=$1
  STAGE_START=$now
}

# stage_times: how long each stage took, and all of them.
stage_times() {
  stage ""
  [ ${#STAGE_TIMES[@]} -gt 0 ] || return 0
  say "the time of each stage:"
  printf '  %s\n' "${STAGE_TIMES[@]}"
  printf '%7ds  in all\n' "$SECONDS"
}

# What a line says when a command failed and is tried again (retry_once).
RETRIED="failed once; trying once more"

die() {
  echo "$SCRIPT: $*" >&2
  exit 1
}

say() {
  echo "$SCRIPT: $*"
}

# step DESCRIPTION COMMAND...: runs COMMAND with its output kept aside; when it
# fails, shows the last 40 lines of that output and stops, naming the step.
# A retry said inside it (retry_once) is shown even when the step succeeds.
step() {
  local what=$1 log status=0
  shift
  say "$what"
  log=$(mktemp "${TMPDIR:-/tmp}/quorvel-step.XXXXXX")
  "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "----- last 40 lines of: $*" >&2
    tail -n 40 "$log" >&2
    echo "-----" >&2
    die "failed: $what (exit status $status; the whole output is in $log)"
  fi
  grep -F "$RETRIED" "$log" >&2 || true
  rm -f "$log"
}

# checked COMMAND...: runs COMMAND; when it fails, the last line says which
# command it was and its exit status.
checked() {
  local status=0
  "$@" || status=$?
  [ "$status" -eq 0 ] || echo "$SCRIPT: failed: $* (exit status $status)" >&2
  return "$status"
}

# retry_once WHAT COMMAND...: runs COMMAND, and once more when it fails,
# after a line that says so (with RETRIED) and gives the last words of its
# output. Either attempt's output is shown; the second one's status is
# returned.
retry_once() {
  local what=$1 log status=0
  shift
  log=$(mktemp "${TMPDIR:-/tmp}/quorvel-retry.XXXXXX")
  "$@" >"$log" 2>&1 || status=$?
  cat "$log"
  if [ "$status" -ne 0 ]; then
    echo "$SCRIPT: $what $RETRIED. It said: $(grep -v '^\s*$' "$log" | tail -n 3 | paste -sd '|' | sed 's/|/ | /g')" >&2
    status=0
    "$@" || status=$?
    [ "$status" -eq 0 ] || echo "$SCRIPT: $what failed again" >&2
  fi
  rm -f "$log"
  return "$status"
}

# as_root COMMAND...: runs COMMAND as root, through sudo when not root.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    die "installing Debian packages needs root, and sudo is not installed; run this once as root"
  fi
}

# ensure_packages PACKAGE...: installs those of the Debian packages that are missing.
ensure_packages() {
  local missing=() p
  for p in $(printf '%s\n' "$@" | sort -u); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local install=(env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}")
  if [ -t 1 ]; then
    say "installing ${#missing[@]} Debian packages: ${missing[*]}"
    as_root apt-get update || die "failed: apt-get update"
    as_root "${install[@]}" || die "failed: installing ${missing[*]}"
  else
    step "updating the package lists" as_root apt-get update -q
    step "installing ${#missing[@]} Debian packages: ${missing[*]}" as_root "${install[@]}" -q
  fi
}

# build_as_user ARGS...: a script started through sudo by a normal user has
# installed what it needs as root; the rest runs again as that user, so that
# nothing in the checkout belongs to root.
build_as_user() {
  [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ] || return 0
  local home
  home=$(getent passwd "$SUDO_USER" | cut -d: -f6)
  say "started through sudo: the packages are installed; building as $SUDO_USER"
  exec runuser -u "$SUDO_USER" -- env HOME="$home" USER="$SUDO_USER" bash "$0" "$@"
}

# writable DIR: stops with a one-line reason when DIR exists but this user
# cannot write it (as after an earlier run as root).
writable() {
  local dir=$1
  [[ $dir = /* ]] || dir=$ROOT/$dir
  [ ! -e "$dir" ] || [ -w "$dir" ] ||
    die "${dir#"$ROOT"/} belongs to $(stat -c %U "$dir"), not to $(id -un); remove it once with: sudo rm -rf '$dir'"
}

# configure DIR [cmake options...]: configures DIR, and again whenever the
# options differ from those it was configured with.
configure() {
  local dir=$1
  shift
  writable "$ROOT"
  writable "$dir"
  local wanted="$*"
  if [ ! -f "$dir/CMakeCache.txt" ] || [ "$(cat "$dir/.quorvel-options" 2>/dev/null)" != "$wanted" ]; then
    step "configuring ${dir#"$ROOT"/}/" cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
    echo "$wanted" >"$dir/.quorvel-options"
  fi
}

# The Windows program: cross-built with MinGW-w64, optimised for size.
WINDOWS_CONFIGURE=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake"
  -DCMAKE_BUILD_TYPE=MinSizeRel)

# The shared code alone (calculation, runtime, form) for 32-bit Windows,
# warnings as errors; nothing is linked or run.
I686_CONFIGURE=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686.cmake"
  -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON)

# The browser page: compiled to WebAssembly by emscripten, optimised for size.
WEB_CONFIGURE=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/emscripten-wasm32.cmake"
  -DCMAKE_BUILD_TYPE=MinSizeRel)

# ensure_chinese_locale: Wine shows its own texts (a message box's button,
# an edit box's menu) in Chinese only where the system has the zh_CN.UTF-8
# locale; generates it once when it is missing.
ensure_chinese_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
  step "generating the zh_CN.UTF-8 locale (for Wine's Chinese texts)" as_root bash -c \
    "sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen &&
     grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
     locale-gen"
}

# build DIR [targets...]
build() {
  local dir=$1
  shift
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  step "building ${dir#"$ROOT"/}/${*:+ ($*)}" cmake --build "$dir" "${targets[@]}"
}

# wine_env PREFIX: the environment in which Wine runs as a Chinese Windows
# would, in PREFIX: Chinese texts, no debug channels, no offer to install
# Mono or Gecko.
wine_env() {
  export WINEPREFIX=$1 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# wine_session PREFIX [DPI]: a Wine prefix as a Chinese Windows would be
# (tests/wine_prefix.sh), made when missing, in the environment, for the
# commands that follow.
wine_session() {
  wine_env "$1"
  [ -d "$WINEPREFIX" ] || step "making a Wine prefix" "$ROOT/tests/wine_prefix.sh" "$@"
}

# copy_wine_prefix FROM TO: a copy of a Wine prefix to work in. Its DLLs,
# nearly all of its 700 MB, are hard links: Wine writes them only when it
# updates a prefix, which the Wine that made it never does. Everything else
# is copied, since Wine rewrites its registry files in place.
copy_wine_prefix() {
  local from=$1 to=$2 windows=drive_c/windows
  local - # a failure of either tar is the function's
  set -o pipefail
  mkdir -p "$to" &&
    tar -C "$from" --exclude="./$windows/system32" --exclude="./$windows/winsxs" -cf - . |
    tar -C "$to" -xf - &&
    cp -al "$from/$windows/system32" "$from/$windows/winsxs" "$to/$windows/"
}

# start_xvfb: a private X server on a free display, stopped by its process id
# when the script ends; sets DISPLAY and XVFB_PID. It never resets: a reset
# when the last client leaves refuses the clients that connect meanwhile.
start_xvfb() {
  local number_file
  number_file=$(mktemp "${TMPDIR:-/tmp}/quorvel-xvfb.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "${1:-800x600x24}" -nolisten tcp -noreset 3>"$number_file" 2>/dev/null &
  XVFB_PID=$!
  trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null' EXIT
  local i
  for i in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || die "Xvfb did not start"
    sleep 0.1
  done
  export DISPLAY=":$(cat "$number_file")"
  rm -f "$number_file"
}
