#!/usr/bin/env bash
# The logistics worker and the cleaning factory for the bags of `scripts/run.sh`: takes the
# newest completed bag (or the one named by its code) on its road, a step at a time or all
# the way back to the store in a new batch, whose code it prints for the arrival screen.
# Usage: scripts/factory.sh return [BAG]      collected, received, washed and sent back
#        scripts/factory.sh collect [BAG]     the logistics worker collects it (status 2)
#        scripts/factory.sh receive [BAG]     the factory receives it (status 3)
#        scripts/factory.sh send-back [BAG]   the factory sends its garments back
set -euo pipefail
case "${1:-}" in
    return) step=return ;;
    collect) step=collect ;;
    receive) step=receive ;;
    send-back) step=sendBack ;;
    *) sed -n '5,8p' "$0" >&2; exit 2 ;;
esac
exec "$(dirname "$0")/standin-post.sh" "/factory/$step?bag=${2:-latest}"
