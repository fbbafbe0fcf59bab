#!/usr/bin/env bash
# Posts to a stand-in of the backend that `scripts/run.sh` started, and prints its answer.
# Usage: scripts/standin-post.sh PATH?QUERY   (used by wallet.sh, refund-audit.sh, factory.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
urlfile=${BRENVO_RUN_DIR:-$here/run}/backend.url
[ -s "$urlfile" ] || { echo "no backend of scripts/run.sh is running ($urlfile)" >&2; exit 1; }
curl -sS --fail-with-body -X POST -d "" "$(cat "$urlfile")$1"
echo
