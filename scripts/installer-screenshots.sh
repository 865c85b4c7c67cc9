#!/usr/bin/env bash
# Takes the pictures of the Windows installer's pages in docs/
# (installer-welcome.png, installer-options.png, installer-folder.png,
# installer-finish.png): the installer of scripts/build-windows.sh runs under
# Wine on a virtual X server, in a Wine prefix of its own, and Enter takes it
# from page to page as a user's "Next" would.
# Usage: installer-screenshots.sh [SETUP_EXE]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${QUORVEL_SCREENSHOT_DISPLAY:-}" ]; then
  export QUORVEL_SCREENSHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 800x600x24" bash "$PWD/scripts/installer-screenshots.sh" "$@"
fi
setup=$(realpath "${1:-$(bash scripts/build-windows.sh | tail -n 1)}")

export WINEDEBUG=-all LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1
# No window manager here: Wine draws the window frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

wine "$setup" &
installer=$!

# The installer's window, once it shows.
window=""
wait_for_window() {
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name 'Quorvel' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  echo "installer-screenshots: the installer's window did not show" >&2
  exit 1
}

# A picture of the installer's window alone, once it has been drawn.
take() {
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/$1"
  echo "docs/$1"
}

next() {
  xdotool key --window "$window" Return
}

wait_for_window
take installer-welcome.png
next
take installer-options.png
next
take installer-folder.png
next
# The files page goes on to the last page by itself.
sleep 5
take installer-finish.png
# Left there: the end of the script ends the prefix's programs.
kill "$installer" 2>/dev/null || true
