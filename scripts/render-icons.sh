#!/bin/sh
# Renders the icons from their vector sources in resources/icon/src/ into the PNG files
# that resources/icons.qrc compiles in, the program icon favicon.ico, and the main window's
# shadow (scripts/render-shadow.py).
# The rendered files are committed, so the build never runs this: run it after editing
# a source and commit both. Needs rsvg-convert (Debian librsvg2-bin) and python3.
# Each picture is rendered at the size the screens show it, so an Image that takes the
# picture's own size lays out right and the store's ordinary screens get exact pixels.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
src=$root/resources/icon/src
out=$root/resources/icon

command -v rsvg-convert >/dev/null || { echo "render-icons: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }

# name  width  height   (pixels of the rendered file)
while read -r name w h; do
    case $name in ''|'#'*) continue ;; esac
    rsvg-convert -w "$w" -h "$h" "$src/$name.svg" -o "$out/$name.png"
done <<'LIST'
# menu entries, 100 x 100 buttons: normal and hover
btn_PlaceOrder1 100 100
btn_PlaceOrder2 100 100
takeclothes1 100 100
takeclothes2 100 100
arrivestore1 100 100
arrivestore2 100 100
sendfcatory1 100 100
sendfcatory2 100 100
MemberManagement1 100 100
MemberManagement2 100 100
OrderInquiry1 100 100
OrderInquiry2 100 100
ClothQuery1 100 100
ClothQuery2 100 100
setting1 100 100
setting2 100 100
PutStorage1 100 100
PutStorage2 100 100
Quality1 100 100
Quality2 100 100
RevenueAnalysis1 100 100
RevenueAnalysis2 100 100
HangUp 100 100
HangUpC 100 100
# round window buttons, 10 x 10, and their hover pictures
red 10 10
cloesexe 10 10
green 10 10
max 10 10
yellow 10 10
min 10 10
# left bar: home button 50 x 50 (normal, pressed); default portrait, 80 x 80 on the quit
# panel and scaled to 50 x 50 in the left bar
menu2 50 50
menu1 50 50
grayhead 80 80
# panels' close button
close_x1 24 24
close_x2 24 24
# sign-in panel
RFIDchose 140 40
RFIDunchose 140 40
triangle 20 10
RFIDshow 200 150
Defaultheadimage 80 80
downdown 20 20
upup 20 20
# settings screen
storeinfo 24 24
printer 24 24
settings 24 24
blueyes 20 20
goback 24 24
# garment intake: the green reader button
putreadrfid1 40 40
putreadrfid2 40 40
# members
flagblue 20 20
flagyellow 20 20
flagpurple 20 20
BalanceUNUse 20 20
BalanceUse 20 20
search1 40 40
search2 40 40
Delete1 20 20
Delete2 20 20
modify1 20 20
modify2 20 20
# order details: a reached station of the progress line
done 20 20
# arrival from the factory: the mark of an accessory in the garment lists
annexmark 20 20
LIST

# The program icon: one ICO holding the usual Windows sizes, each a PNG image.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for s in 16 24 32 48 64 128 256; do
    rsvg-convert -w $s -h $s "$src/favicon.svg" -o "$tmp/$s.png"
done
python3 - "$out/favicon.ico" "$tmp" <<'PY'
import os, struct, sys
target, folder = sys.argv[1], sys.argv[2]
sizes = [16, 24, 32, 48, 64, 128, 256]
images = [open(os.path.join(folder, f"{s}.png"), "rb").read() for s in sizes]
header = struct.pack("<HHH", 0, 1, len(sizes))
offset = 6 + 16 * len(sizes)
entries = b""
for s, data in zip(sizes, images):
    entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
with open(target, "wb") as f:
    f.write(header + entries + b"".join(images))
PY
# The main window's shadow: worked out, not drawn from a vector source.
python3 "$root/scripts/render-shadow.py" "$out/windowShadow.png"
echo "render-icons: done"
