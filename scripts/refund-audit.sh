#!/usr/bin/env bash
# The head office's approval desk for the refunds and refund-washes the counter of
# `scripts/run.sh` asks for: approves (or rejects) the newest waiting request, or the one
# named by its id. An approved refund gives the money back by the means it names.
# Usage: scripts/refund-audit.sh approve [ID]   the request is approved
#        scripts/refund-audit.sh reject [ID]    the request is rejected
set -euo pipefail
case "${1:-}" in
    approve) result= ;;
    reject) result='&result=reject' ;;
    *) sed -n '5,6p' "$0" >&2; exit 2 ;;
esac
exec "$(dirname "$0")/standin-post.sh" "/audit/refund?id=${2:-latest}$result"
