#!/usr/bin/env bash
# Starts a throwaway desktop on an X server of its own (Xvfb, openbox, a tray)
# and Quillet in it, with a home folder of its own. Drive it with xdotool and
# look at it with ImageMagick:
#   DISPLAY=:9 xdotool ...;  DISPLAY=:9 import -window root shot.png
# Usage: scripts/desktop-session.sh [start|stop] [home folder]
set -euo pipefail
cd "$(dirname "$0")/.."
action="${1:-start}"
home="${2:-/tmp/quillet-desktop}"
display="${QUILLET_DISPLAY:-:9}"
pids="$home/pids"

if [ "$action" = stop ]; then
  [ -f "$pids" ] && while read -r pid; do kill "$pid" 2>/dev/null || true; done < "$pids"
  rm -f "$pids"
  exit 0
fi

scripts/install-deps.sh xvfb openbox trayer xdotool imagemagick x11-utils
scripts/build.sh >/dev/null
mkdir -p "$home/run" && chmod 700 "$home/run"
: > "$pids"
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 & echo $! >> "$pids"
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run
openbox >/dev/null 2>&1 & echo $! >> "$pids"
trayer --edge bottom --align right --widthtype request --height 24 --transparent false --tint 0x404040 >/dev/null 2>&1 & echo $! >> "$pids"
sleep 1
build/quillet >"$home/quillet.log" 2>&1 & echo $! >> "$pids"
echo "Quillet runs on $display (home $home); stop with: scripts/desktop-session.sh stop $home"
