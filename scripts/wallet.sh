#!/usr/bin/env bash
# The customer's phone for the QR codes of `scripts/run.sh`: scans the newest waiting WeChat or
# Alipay trade (or the one named by its sequence number), which pays it, or has the wallet
# refuse it.
# Usage: scripts/wallet.sh pay [SEQ]    the customer pays
#        scripts/wallet.sh fail [SEQ]   the customer's wallet refuses
set -euo pipefail
case "${1:-}" in
    pay) result= ;;
    fail) result='&result=fail' ;;
    *) sed -n '5,6p' "$0" >&2; exit 2 ;;
esac
exec "$(dirname "$0")/standin-post.sh" "/wallet/scan?seq=${2:-latest}$result"
