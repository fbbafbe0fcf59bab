#!/bin/sh
# Renders the icons from their vector sources in resources/icon/src/ into the PNG files
# that resources/icons.qrc compiles in, and the program icon favicon.ico.
# The rendered files are committed, so the build never runs this: run it after editing
# a source and commit both. Needs rsvg-convert (Debian librsvg2-bin) and python3.
# Pixel sizes are twice the size the screens show, so the pictures stay sharp when
# scaled down and on high-density screens.
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
btn_PlaceOrder1 200 200
btn_PlaceOrder2 200 200
takeclothes1 200 200
takeclothes2 200 200
arrivestore1 200 200
arrivestore2 200 200
sendfcatory1 200 200
sendfcatory2 200 200
MemberManagement1 200 200
MemberManagement2 200 200
OrderInquiry1 200 200
OrderInquiry2 200 200
ClothQuery1 200 200
ClothQuery2 200 200
setting1 200 200
setting2 200 200
PutStorage1 200 200
PutStorage2 200 200
Quality1 200 200
Quality2 200 200
RevenueAnalysis1 200 200
RevenueAnalysis2 200 200
HangUp 200 200
HangUpC 200 200
# round window buttons, 10 x 10, and their hover pictures
red 20 20
cloesexe 20 20
green 20 20
max 20 20
yellow 20 20
min 20 20
# left bar: home button 50 x 50 (normal, pressed), default portrait 50 x 50 and 80 x 80
menu2 100 100
menu1 100 100
grayhead 160 160
# panels' close button
close_x1 48 48
close_x2 48 48
# sign-in panel
RFIDchose 280 80
RFIDunchose 280 80
triangle 40 20
RFIDshow 400 300
Defaultheadimage 160 160
downdown 40 40
upup 40 40
# settings screen
storeinfo 48 48
printer 48 48
settings 48 48
blueyes 40 40
goback 48 48
# garment intake: the green reader button
putreadrfid1 80 80
putreadrfid2 80 80
# members
flagblue 40 40
flagyellow 40 40
flagpurple 40 40
BalanceUNUse 40 40
BalanceUse 40 40
search1 80 80
search2 80 80
Delete1 40 40
Delete2 40 40
modify1 40 40
modify2 40 40
# order details: a reached station of the progress line
done 40 40
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
echo "render-icons: done"
