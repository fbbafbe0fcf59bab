#!/bin/sh
# Starts the installed counter terminal: the card reader libraries from their place beside it
# (a store puts its reader vendor's libfunction.so and libHFReader.so there), its working folder
# (settings, pictures, the accounts used here) in the user's data folder, and its
# configuration from /etc/brenvopos/brenvo.ini unless the working folder has a brenvo.ini of
# its own or BRENVO_CONFIG names one.
set -e
here=$(dirname "$(readlink -f "$0")")
lib=$(readlink -f "$here/../lib/brenvopos")
home=${BRENVO_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/brenvopos}
mkdir -p "$home"
cd "$home"
LD_LIBRARY_PATH="$lib/readers${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export LD_LIBRARY_PATH
if [ -z "${BRENVO_CONFIG:-}" ] && [ ! -f brenvo.ini ] && [ -f /etc/brenvopos/brenvo.ini ]; then
    BRENVO_CONFIG=/etc/brenvopos/brenvo.ini
    export BRENVO_CONFIG
fi
exec "$lib/brenvopos" "$@"
