#!/usr/bin/env bash
# Every screen that the menu or a Screens.open call names is compiled into the terminal, or
# stands on screens/not-built.txt; and no two screen files share a name across areas (each
# is served at "qrc:/" + its file name). Usage: scripts/check-screens.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

compiled=$(grep -ho '<file alias="[^"]*\.qml">' app/*.qrc screens/*/*.qrc | sed -E 's/<file alias="(.*)\.qml">/\1/' | sort)
# Every screen built, the list holds only its comment: grep then matches nothing.
waiting=$( (grep -v '^#' screens/not-built.txt || true) | sed '/^$/d' | sort)
named=$( (grep -ho 'screen: "[A-Za-z]*"' app/menuentries.js | sed -E 's/screen: "(.*)"/\1/'
          grep -rhoE 'Screens\.open\([^,]+, *"[A-Za-z]+"' app screens --include=*.qml --include=*.js |
              sed -E 's/.*"([A-Za-z]+)"/\1/') | sort -u)

status=0
for name in $named; do
    if ! grep -qx "$name" <<<"$compiled" && ! grep -qx "$name" <<<"$waiting"; then
        echo "opened but neither built nor on screens/not-built.txt: $name"; status=1
    fi
done
for name in $waiting; do
    if grep -qx "$name" <<<"$compiled"; then
        echo "built, so remove it from screens/not-built.txt: $name"; status=1
    fi
done
dupes=$(find app screens -name '*.qml' -o -name '*.js' | xargs -n1 basename | sort | uniq -d)
if [ -n "$dupes" ]; then
    echo "screen files with the same name in two places: $dupes"; status=1
fi
[ $status -eq 0 ] && echo "screens: $(wc -w <<<"$named") opened, all built or listed; $(wc -w <<<"$waiting") not built yet"
exit $status
