#!/usr/bin/env bash
# The customer's phone for the QR codes of `scripts/run.sh`: scans the newest waiting WeChat or
# Alipay trade (or the one named by its sequence number), which pays it, or has the wallet
# refuse it.
# Usage: scripts/wallet.sh pay [SEQ]    the customer pays
#        scripts/wallet.sh fail [SEQ]   the customer's wallet refuses
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
urlfile=${BRENVO_RUN_DIR:-$here/run}/backend.url
[ -s "$urlfile" ] || { echo "no backend of scripts/run.sh is running ($urlfile)" >&2; exit 1; }
base=$(cat "$urlfile")
case "${1:-}" in
    pay) result= ;;
    fail) result='&result=fail' ;;
    *) sed -n '5,6p' "$0" >&2; exit 2 ;;
esac
seq=${2:-latest}
curl -sS --fail-with-body -X POST -d "" "$base/wallet/scan?seq=$seq$result"
echo
