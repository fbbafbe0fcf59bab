#!/usr/bin/env bash
# Installs what the terminal needs, builds it, starts the reference backend with demo data
# and opens the terminal against it. Usage: scripts/run.sh
#   BRENVO_RUN_DIR  the terminal's working folder (settings, pictures, database); default ./run
#   BRENVO_VNC_PORT the VNC port used when there is no display; default 5900
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BRENVO_BUILD_DIR:-$here/build}
rundir=${BRENVO_RUN_DIR:-$here/run}

"$here/scripts/setup.sh" run
echo "Building in $build ..."
"$here/scripts/build.sh" "$build" >/dev/null

mkdir -p "$rundir"
rundir=$(cd "$rundir" && pwd)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT INT TERM

# The reference backend, with the demo store on first start.
rm -f "$rundir/backend.url"
"$build/backend/brenvo-backend" --db "$rundir/backend.db" --port 0 --demo \
    --url-file "$rundir/backend.url" >"$rundir/backend.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$rundir/backend.url" ] && break; sleep 0.1; done
[ -s "$rundir/backend.url" ] || { echo "The reference backend did not start; see $rundir/backend.log" >&2; exit 1; }
base=$(cat "$rundir/backend.url")
echo "Reference backend: $base (log: $rundir/backend.log)"

# Point the terminal at it: every outside address lives in brenvo.ini.
cat >"$rundir/brenvo.ini" <<INI
[backend]
url=$base
[upload]
host=$base/qiniu
[map]
host=$base/amap
key=3f2b9c61d84e4a7f9e05c7d2b1a86e43
[vendor]
host=$base/vendor/
[terminal]
serialNum=BV2024000001
[reader]
key=BRNV01
INI

# The card reader stand-ins; lay a card on the reader with scripts/card.sh.
export LD_LIBRARY_PATH="$build/device/readers/full${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export BRENVO_READER_CARD_FILE="$rundir/card.txt"
touch "$BRENVO_READER_CARD_FILE"

# The stand-in scripts find this run's backend through BRENVO_RUN_DIR.
scripts="$here/scripts"
if [ "$rundir" != "$here/run" ]; then
    scripts="BRENVO_RUN_DIR=$rundir $scripts"
fi
echo "The stand-ins of this run (README.md, \"Signing in to the demo store\"):"
echo "  the customer's phone:  $scripts/wallet.sh pay"
echo "  the approval desk:     $scripts/refund-audit.sh approve"
echo "  the card reader:       $scripts/card.sh zhangli"
echo "  the factory:           $scripts/factory.sh return"

cd "$rundir"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "The terminal opens on this machine's display (${DISPLAY:-$WAYLAND_DISPLAY})."
    "$build/brenvopos"
    exit $?
fi

# No display: a virtual one (Xvfb picks a free number), served over VNC on this machine
# only, plus a screenshot.
port=${BRENVO_VNC_PORT:-5900}
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    echo "VNC port $port is taken (another run?): choose another with BRENVO_VNC_PORT=5901" >&2
    exit 1
fi
displayfile="$rundir/display"
rm -f "$displayfile"
Xvfb -displayfd 5 -screen 0 1300x900x24 -nolisten tcp 5>"$displayfile" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$displayfile" ] && break; sleep 0.1; done
[ -s "$displayfile" ] || { echo "The virtual display did not start (Xvfb)" >&2; exit 1; }
display=:$(head -n1 "$displayfile")
x11vnc -display "$display" -localhost -rfbport "$port" -forever -nopw -quiet >"$rundir/vnc.log" 2>&1 &
pids+=($!)
DISPLAY=$display "$build/brenvopos" &
app=$!
pids+=($app)
sleep 5
DISPLAY=$display xwd -root -silent | convert xwd:- "$rundir/screen.png" 2>/dev/null || true
echo "No display here: the terminal runs on the virtual display $display."
echo "  See it live:   vncviewer localhost:$port   (VNC, reachable from this machine only;"
echo "                 from elsewhere: ssh -L $port:localhost:$port this-machine)"
echo "  A screenshot:  $rundir/screen.png   (a new one: DISPLAY=$display xwd -root | convert xwd:- shot.png)"
echo "Press Ctrl+C to stop."
wait "$app"
