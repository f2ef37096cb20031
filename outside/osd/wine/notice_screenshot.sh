#!/usr/bin/env bash
# Takes a screenshot of the display's notice as a user sees it: runs the Windows-side case that shows
# "Low Battery", waits for the notice's window to appear on the X display and captures the whole screen.
# Needs DISPLAY (Xvfb) and a running wineserver (kavo_start_wineserver); writes PNG, never committed.
# usage: outside/osd/wine/notice_screenshot.sh [build folder] [png]
set -eu
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$root/build/win64}
png=${2:-/tmp/osd-notice.png}
: "${DISPLAY:?start Xvfb and export DISPLAY first}"

"$root/scripts/wine-run" "$build" "$build/bin/osd_wine_tests.exe" \
  --gtest_filter='*ShowsTheNoticeFromItsFolder*' >/dev/null 2>&1 &
run=$!
for _ in $(seq 1 150); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Low Battery"' && break
  sleep 0.1
done
sleep 0.3  # let it paint
import -window root "$png"
wait "$run"
echo "$png"
