#!/usr/bin/env bash
# Lints every screen and screen script as the resources serve them (all at "qrc:/").
# Usage: scripts/qmllint.sh QMLTYPESDUMP WORK_DIR QT_QML_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dump=$1 work=$2 qtqml=$3
qmllint=$(command -v qmllint || echo /usr/lib/qt5/bin/qmllint)

rm -rf "$work" && mkdir -p "$work/qrc" "$work/modules"
"$dump" "$work/modules"

# Lay the files out as the .qrc files alias them.
for qrc in "$here"/app/*.qrc "$here"/screens/*/*.qrc; do
    [ -f "$qrc" ] || continue
    dir=$(dirname "$qrc")
    grep -o '<file alias="[^"]*">[^<]*</file>' "$qrc" | sed -E 's#<file alias="([^"]*)">([^<]*)</file>#\1 \2#' |
        while read -r alias path; do cp "$dir/$path" "$work/qrc/$alias"; done
done
cp "$work/qrc/Session.qml" "$work/qrc/Theme.qml" "$work/qrc/Logs.qml" "$work/modules/Brenvo/"

# Syntax errors fail outright. Of the checks, unqualified access is the one that holds:
# qmllint of Qt 5.15 also reports members of JavaScript libraries and enum values it
# cannot resolve, which are not faults.
status=0
for f in "$work"/qrc/*.qml "$work"/qrc/*.js; do
    [ -f "$f" ] || continue
    if ! syntax=$("$qmllint" "$f" 2>&1); then
        echo "== $(basename "$f"): syntax"; echo "$syntax"; status=1; continue
    fi
    out=$("$qmllint" --check-unqualified -I "$qtqml" -I "$work/modules" "$f" 2>&1 || true)
    if grep -q "unqualified access" <<<"$out"; then
        echo "== $(basename "$f")"
        grep -A4 "unqualified access" <<<"$out"
        status=1
    fi
done
[ $status -eq 0 ] && echo "qmllint: $(ls "$work"/qrc | wc -l) files, no unqualified access"
exit $status
