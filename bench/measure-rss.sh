#!/usr/bin/env bash
# Starts the program, waits until its main window is up and prints its resident memory
# (VmRSS). Fails when that is RSS_LIMIT_MB (80) or more. Runs on a private Xvfb display
# when Xvfb is installed, else on Qt's offscreen platform.
#
#   bench/measure-rss.sh [path/to/stippleworkshop]     (default: build/bench/stippleworkshop)
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/bench/stippleworkshop}
limit_mb=${RSS_LIMIT_MB:-80}
[ -x "$binary" ] || {
    echo "measure-rss: no program at $binary; build it first" >&2
    exit 2
}

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

if command -v Xvfb >/dev/null; then
    displayFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayFile" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 50); do
        [ -s "$displayFile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$displayFile")"
    rm -f "$displayFile"
    export QT_QPA_PLATFORM=xcb
    platform="Xvfb $DISPLAY"
else
    export QT_QPA_PLATFORM=offscreen
    platform="offscreen"
fi

"$binary" &
app=$!
pids=("$app" "${pids[@]}")

# The window is up when the window system knows it; without xdotool, give it time.
if [ "$QT_QPA_PLATFORM" = xcb ] && command -v xdotool >/dev/null; then
    for _ in $(seq 100); do
        xdotool search --name "Vexlan Tarn Stippleworkshop" >/dev/null 2>&1 && break
        sleep 0.1
    done
fi
sleep "${RSS_SETTLE_SECONDS:-2}"

rss_kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app/status")
rss_mb=$(awk -v kb="$rss_kb" 'BEGIN { printf "%.1f", kb / 1024 }')
echo "resident memory after start ($platform): $rss_mb MB (limit $limit_mb MB)"
awk -v kb="$rss_kb" -v limit="$limit_mb" 'BEGIN { exit !(kb < limit * 1024) }'
