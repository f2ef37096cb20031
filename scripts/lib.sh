# Shared by scripts/run, scripts/test and scripts/bench: packages, builds, the Wine prefix and the display.
# shellcheck shell=bash

KAVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KAVO_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xauth xdotool x11-utils imagemagick procps
  python3 python3-pil fonts-liberation2
)

kavo_say() { printf '\n== %s\n' "$*"; }

kavo_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of KAVO_PACKAGES is missing; does nothing when all are there.
kavo_install_packages() {
  local missing=() pkg
  for pkg in "${KAVO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  kavo_say "installing: ${missing[*]}"
  local attempt
  for attempt in 1 2 3; do
    kavo_as_root apt-get update -q || true
    if kavo_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; then
      return 0
    fi
    sleep $((attempt * 10))
  done
  echo "could not install: ${missing[*]}" >&2
  return 1
}

kavo_build() {  # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

# Wine: one prefix per build folder, no Mono or Gecko, no debug chatter.
kavo_wine_env() {  # build folder
  export WINEPREFIX="$(cd "$1" && pwd)/wineprefix"
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=-all
}

kavo_wine_prefix() {  # build folder
  kavo_wine_env "$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    kavo_say "creating the Wine prefix in $WINEPREFIX"
    wine wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Xvfb runs no window manager, and Wine would wait two seconds for one at every top-level window that
  # goes away; windows that Wine manages itself go at once.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# One persistent wineserver for a whole suite, so that each program start stays cheap. Wine's own
# services are started here, detached from any test's output: started by a test they would inherit its
# pipes and keep CTest waiting for them to close.
kavo_start_wineserver() {  # build folder
  kavo_wine_prefix "$1"
  wineserver -p
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

kavo_stop_wineserver() {  # build folder
  kavo_wine_env "$1"
  wineserver -k 2>/dev/null || true
}

# Starts Xvfb on the first free display and exports DISPLAY; KAVO_XVFB_PID names it for kavo_stop_display.
kavo_start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    KAVO_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then export DISPLAY=":$n"; return 0; fi
      kill -0 "$KAVO_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$KAVO_XVFB_PID" 2>/dev/null
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

kavo_stop_display() {
  [ -n "${KAVO_XVFB_PID:-}" ] && kill "$KAVO_XVFB_PID" 2>/dev/null
  KAVO_XVFB_PID=
}
