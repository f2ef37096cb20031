#!/usr/bin/env bash
# Walks the interactive setup and uninstaller of build/win32/KavoSetup.exe under Xvfb with the keyboard
# (Enter on every page, defaults kept) in a scratch Wine prefix, and saves each page's window into
# docs/installer/. Run by hand after a change to the setup's pages; look at every picture before committing.
set -u
. "$(dirname "$0")/../scripts/lib.sh"
cd "$KAVO_ROOT"
out=docs/installer
kavo_start_display || exit 1
kavo_wine_env build/win32
export WINEPREFIX="$KAVO_ROOT/build/win32/screens-prefix"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
kavo_init_wine_prefix >/dev/null
wineserver -p
kavo_wine cmd.exe /c exit </dev/null >/dev/null 2>&1
shot() {  # picture name, window title
  local id=
  for _ in $(seq 1 100); do id=$(xdotool search --name "$2" 2>/dev/null | head -1); [ -n "$id" ] && break; sleep 0.1; done
  [ -n "$id" ] || { echo "no window \"$2\" for $1" >&2; return 1; }
  sleep 1.2  # let the page paint
  import -window "$id" "$out/$1.png" && echo "saved $out/$1.png"
}
next() { xdotool key --delay 100 Return; }
kavo_wine build/win32/KavoSetup.exe </dev/null >/dev/null 2>&1 &
shot 1-welcome "VELMAR Kavo Setup"
next; shot 2-components "VELMAR Kavo Setup"
next; shot 3-folder "VELMAR Kavo Setup"
next; sleep 4; shot 4-installing "VELMAR Kavo Setup"
next; shot 5-finish "VELMAR Kavo Setup"
next; sleep 4  # Finish starts the service: the uninstaller below closes it
folder=$(kavo_wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\VELMAR Kavo' /v InstallLocation |
         tr -d '\r' | sed -n 's/.*REG_SZ *//p')
kavo_wine "$folder\\Uninstall.exe" </dev/null >/dev/null 2>&1 &
shot 6-uninstall-confirm "VELMAR Kavo Uninstall"
next; shot 7-uninstall-components "VELMAR Kavo Uninstall"
next; sleep 4; shot 8-uninstall-progress "VELMAR Kavo Uninstall"
next; shot 9-uninstall-finish "VELMAR Kavo Uninstall"
next; sleep 2
wineserver -k
kavo_stop_display
