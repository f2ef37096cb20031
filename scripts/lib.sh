# Shared by scripts/run, scripts/test and scripts/bench: packages, builds, the Wine prefix and the display.
# shellcheck shell=bash

KAVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KAVO_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xauth xdotool x11-utils imagemagick procps
  python3 python3-pil fonts-liberation2 nsis
)
# The shipped programs are 32-bit: Wine runs them only with its 32-bit loader, an i386 package, and only
# on a machine that runs 32-bit programs at all.
KAVO_LOADER32=wine32:i386

# Whether this machine runs 32-bit x86 programs. Wine's 32-bit loader is one, and a kernel may be built or
# booted without 32-bit support (its log then says "32-bit emulation disabled"), whatever is installed.
kavo_host_runs_32bit() {
  local probe status
  probe=$(mktemp) || return 1
  # The smallest i386 program: the ELF header, one loadable segment, and code that calls exit(42).
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >"$probe"
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
  printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >>"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

kavo_say() { printf '\n== %s\n' "$*"; }

kavo_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs packages that are missing, with retries; does nothing when all are there.
kavo_install() {  # apt-get install arguments..., packages last
  local args=() missing=() word
  for word in "$@"; do
    case "$word" in
      -*) args+=("$word") ;;
      *) dpkg-query -W -f='${Status}' "$word" 2>/dev/null | grep -q 'install ok installed' || missing+=("$word") ;;
    esac
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  kavo_say "installing: ${missing[*]}"
  local attempt
  for attempt in 1 2 3; do
    kavo_as_root apt-get update -q || true
    if kavo_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${args[@]}" \
        "${missing[@]}"; then
      return 0
    fi
    sleep $((attempt * 10))
  done
  echo "could not install: ${missing[*]}" >&2
  return 1
}

# The Debian suite of this release's backports, from the same mirror and key as its main suite (apt's own
# configuration names them); nothing when the release's suite is not found there.
kavo_add_backports() {
  local codename list=/etc/apt/sources.list.d/kavo-backports.sources
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 1
  [ -f "$list" ] && return 0
  local stanza
  stanza=$(awk -v suite="$codename" 'BEGIN { RS = ""; FS = "\n" }
    $0 ~ ("Suites:[^\n]*[ \t]" suite "([ \t]|$|\n)") {
      for (i = 1; i <= NF; i++) if ($i ~ /^(URIs|Components|Signed-By):/) print $i
      exit
    }' /etc/apt/sources.list.d/*.sources 2>/dev/null)
  if ! grep -q '^URIs:' <<<"$stanza"; then  # a one-line sources.list
    local uri
    uri=$(awk -v suite="$codename" '$1 == "deb" && $3 == suite { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
    [ -n "$uri" ] || return 1
    stanza="URIs: $uri"$'\n'"Components: main"
  fi
  printf 'Types: deb\nSuites: %s-backports\n%s\n' "$codename" "$stanza" | kavo_as_root tee "$list" >/dev/null
}

# A machine whose kernel runs no 32-bit program (booted with its 32-bit support off) still runs Wine's
# 32-bit loader through qemu's user-mode emulator, registered with the kernel for 32-bit x86 programs.
# Releases of qemu before 8.1 ignore where Wine asks mmap to place its reservations, and Wine then probes
# its whole address space at every start (a minute each); a later one comes from the release's backports.
kavo_emulate_32bit() {
  local qemu version
  qemu=$(command -v qemu-i386-static 2>/dev/null)
  version=$("${qemu:-false}" --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\.\([0-9]*\).*/\1 \2/p')
  if [ -z "$qemu" ] || [ "$(awk '{ print ($1 > 8 || ($1 == 8 && $2 >= 1)) }' <<<"$version")" != 1 ]; then
    kavo_add_backports || { echo "no backports suite for a recent qemu" >&2; return 1; }
    local codename; codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    kavo_install -t "$codename-backports" qemu-user-static || return 1
    qemu=$(command -v qemu-i386-static) || return 1
  fi
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || kavo_as_root mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  [ -e "$binfmt/kavo-i386" ] && { echo -1 | kavo_as_root tee "$binfmt/kavo-i386" >/dev/null; }
  # The i386 ELF header of an executable, and what of it must match; F opens the emulator now, so that it
  # serves every later start whatever the program's own root.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":kavo-i386:M::$magic:$mask:$qemu:F" | kavo_as_root tee "$binfmt/register" >/dev/null
}

# Installs whatever of KAVO_PACKAGES is missing, and where the machine runs 32-bit programs (itself or
# through the emulator) Wine's 32-bit loader with the i386 architecture; a machine that cannot is said so.
kavo_install_packages() {
  kavo_install "${KAVO_PACKAGES[@]}" || return 1
  if ! kavo_host_runs_32bit; then
    kavo_say "this machine's kernel runs no 32-bit program: running them through qemu's emulator"
    kavo_emulate_32bit
    if ! kavo_host_runs_32bit; then
      echo "no 32-bit program can run on this machine, not even emulated: the 32-bit build cannot be tested here" >&2
      return 0
    fi
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    kavo_say "adding the i386 architecture for Wine's 32-bit loader"
    kavo_as_root dpkg --add-architecture i386 || { echo "could not add the i386 architecture" >&2; return 1; }
  fi
  if ! kavo_install "$KAVO_LOADER32"; then
    echo "Wine's 32-bit loader ($KAVO_LOADER32) could not be installed: the shipped 32-bit programs cannot run" >&2
    return 1
  fi
}

kavo_build() {  # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

# Wine: one prefix per build folder, no Mono or Gecko, no debug chatter.
kavo_wine_env() {  # build folder
  export WINEPREFIX="$(cd "$1" && pwd)/wineprefix"
  export WINEARCH=win64  # a prefix for both kinds of program, whichever build made it
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=-all
  # Debian's "wine" starts the 32-bit loader first whenever wine32 is installed, even for a 64-bit program,
  # and that fails every start on a machine that runs no 32-bit program. A 64-bit build's programs go to
  # the 64-bit loader directly; Wine still starts a 32-bit program from one of them with the 32-bit loader.
  if [ -x /usr/lib/wine/wine64 ] && ! grep -q 'i686-w64-mingw32' "$1/CMakeCache.txt" 2>/dev/null; then
    export WINELOADER=/usr/lib/wine/wine64
  else
    unset WINELOADER
  fi
}

# Wine, as kavo_wine_env chose it for this machine.
kavo_wine() {
  "${WINELOADER:-wine}" "$@"
}

kavo_wine_prefix() {  # build folder
  kavo_wine_env "$1"
  kavo_init_wine_prefix
}

# Makes WINEPREFIX a prefix the suites can use, when it is not one yet.
kavo_init_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    kavo_say "creating the Wine prefix in $WINEPREFIX"
    kavo_wine wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Xvfb runs no window manager, and Wine would wait two seconds for one at every top-level window that
  # goes away; windows that Wine manages itself go at once.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    kavo_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# One persistent wineserver for a whole suite, so that each program start stays cheap. Wine's own
# services are started here, detached from any test's output: started by a test they would inherit its
# pipes and keep CTest waiting for them to close.
kavo_start_wineserver() {  # build folder
  kavo_wine_prefix "$1"
  wineserver -p
  kavo_wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# True when Wine starts a program of the build; a 32-bit build needs a machine that runs 32-bit programs
# and Wine's 32-bit loader.
kavo_wine_runs() {  # build folder
  kavo_wine_env "$1"
  local probe="$1/bin/settings_wine_tests.exe"
  kavo_wine "$probe" --gtest_list_tests </dev/null >/dev/null 2>&1
  local status=$?
  [ "$status" -ne 0 ] && WINEDEBUG= kavo_wine "$probe" --gtest_list_tests </dev/null 2>&1 | head -n 3 >&2
  [ "$status" -eq 0 ]
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
