#!/usr/bin/env bash
# Makes the Debian packages of a build, checks them with lintian, unpacks them into a
# throwaway root, starts the installed reference backend and the installed terminal against
# it on a virtual display, and waits until the terminal draws its sign-in panel.
# Usage: tests/packaging/install-and-start.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/debs" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
terminal=$(ls "$work"/debs/brenvopos_*.deb)
backend=$(ls "$work"/debs/brenvo-backend_*.deb)

# Debian's own checks: no errors (lintian refuses to judge as root without this word).
lintian --allow-root "$terminal" "$backend" >"$work/lintian.log" 2>&1 || true
if grep -q '^E:' "$work/lintian.log"; then cat "$work/lintian.log" >&2; fail "lintian errors"; fi
grep -q 'Depends:.*qml-module-qtquick-controls' < <(dpkg-deb -I "$terminal") ||
    fail "the terminal does not depend on the QML modules it loads"

root=$work/root
dpkg-deb -x "$terminal" "$root"
dpkg-deb -x "$backend" "$root"
for f in usr/bin/brenvopos usr/lib/brenvopos/brenvopos usr/lib/brenvopos/readers/libfunction.so \
    usr/lib/brenvopos/readers/libHFReader.so usr/share/applications/brenvopos.desktop \
    usr/share/icons/hicolor/scalable/apps/brenvopos.svg usr/bin/brenvo-backend \
    lib/systemd/system/brenvo-backend.service; do
    [ -e "$root/$f" ] || fail "not installed: /$f"
done
grep -qx 'Exec=brenvopos' "$root/usr/share/applications/brenvopos.desktop" || fail "desktop entry"
grep -q '^ExecStart=/usr/bin/brenvo-backend ' "$root/lib/systemd/system/brenvo-backend.service" ||
    fail "service unit"

# The installed backend, with its demo store.
"$root/usr/bin/brenvo-backend" --db "$work/backend.db" --demo --port 0 --url-file "$work/url" \
    >"$work/backend.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/url" ] && break; sleep 0.1; done
[ -s "$work/url" ] || { cat "$work/backend.log" >&2; fail "the installed backend did not start"; }

# The installed terminal, through its launcher, in a working folder of its own.
home=$work/home
mkdir -p "$home"
printf '[backend]\nurl=%s\n[terminal]\nserialNum=BV2024000001\n' "$(cat "$work/url")" >"$home/brenvo.ini"
cat >"$work/start.sh" <<INNER
#!/usr/bin/env bash
BRENVO_HOME="$home" QT_LOGGING_RULES="brenvo.*.debug=true" LD_LIBRARY_PATH= \
    "$root/usr/bin/brenvopos" >"$work/terminal.log" 2>&1 &
app=\$!
# The main window is mapped with the sign-in panel in it; a moment later it is drawn.
for _ in \$(seq 300); do xwininfo -root -tree | grep -q 'Brenvo门店' && break; sleep 0.1; done
xwininfo -root -tree | grep 'Brenvo门店' >"$work/window.txt" || true
sleep 3
import -window root "$work/screen.png"
kill \$app
INNER
chmod +x "$work/start.sh"
xvfb-run -a -s "-screen 0 1400x1000x24" "$work/start.sh"

[ -s "$work/window.txt" ] || { cat "$work/terminal.log" >&2; fail "no main window"; }
grep -q 'dll 加载成功' "$work/terminal.log" ||
    { cat "$work/terminal.log" >&2; fail "the reader libraries were not found in their place"; }
colours=$(convert "$work/screen.png" -format %k info:)
[ "$colours" -gt 50 ] || fail "the screen is blank ($colours colours)"
if [ -n "${BRENVO_SHOTS_DIR:-}" ]; then cp "$work/screen.png" "$BRENVO_SHOTS_DIR/installed-sign-in.png"; fi
echo "installed and started: $(basename "$terminal") $(basename "$backend"); sign-in panel drawn ($colours colours)"
