#!/usr/bin/env bash
# Lays a demo card on the stand-in card reader of `scripts/run.sh`, or takes it off.
# Usage: scripts/card.sh zhangli|wangqiang|liuyang|zhaomin   a demo worker's staff card
#        scripts/card.sh member N                            member N's RFID card (1-5)
#        scripts/card.sh off                                 nothing on the reader
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
card=${BRENVO_READER_CARD_FILE:-${BRENVO_RUN_DIR:-$here/run}/card.txt}
key=BRNV01 # reader/key in run/brenvo.ini

staff() { printf 'mifare_serial=%s\nmifare_block4_text=%s\nmifare_key=%s\n' "$1" "$2" "$key"; }
case "${1:-}" in
    zhangli) staff 1A2B3C4D STAFF-0001-ZL >"$card" ;;
    wangqiang) staff 2B3C4D5E STAFF-0002-WQ >"$card" ;;
    liuyang) staff 3C4D5E6F STAFF-0003-LY >"$card" ;;
    zhaomin) staff 4D5E6F70 STAFF-0004-ZM >"$card" ;;
    member) printf 'iso15693=E00401000000000%d\n' "${2:?member number 1-5}" >"$card" ;;
    off) : >"$card" ;;
    *) sed -n '2,6p' "$0" >&2; exit 2 ;;
esac
echo "card reader: ${1} ($card)"
