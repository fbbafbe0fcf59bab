#!/bin/sh
# A private CUPS daemon with one PDF queue, for the printing tests.
#
#   cups-fixture.sh start DIR   configure and start cupsd under DIR, add the queue
#   cups-fixture.sh stop DIR    stop that cupsd by its recorded pid, remove what start added
#
# Everything lives under DIR: configuration, state, logs, the daemon's socket (DIR/cups.sock,
# for CUPS_SERVER) and the finished PDFs (DIR/out); only the spool and cache, which the
# filters read as the unprivileged user lp, go to a directory of their own under /tmp (named
# in DIR/runtime), since DIR may lie below a folder lp cannot enter (a private temporary
# checkout). The system's own cupsd and its queues are not touched. cups-pdf reads its configuration only from /etc/cups, so
# the queue gets a per-queue file there (cups-pdf-QUEUE.conf) that points its output into
# DIR; stop removes it again.
set -eu

QUEUE=${BRENVO_CUPS_QUEUE:-BrenvoPDF}
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
QUEUE_CONF=/etc/cups/cups-pdf-$QUEUE.conf

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
DIR=$2

start() {
    # A daemon left by an interrupted run of this same fixture is stopped first.
    stop
    if [ -e "$QUEUE_CONF" ]; then
        echo "$QUEUE_CONF exists: another fixture owns the queue name $QUEUE" >&2
        exit 1
    fi
    mkdir -p "$DIR"
    DIR=$(cd "$DIR" && pwd)
    rm -rf "$DIR/conf" "$DIR/state" "$DIR/log" "$DIR/out" "$DIR/pdf-spool"
    mkdir -p "$DIR/conf/ppd" "$DIR/conf/ssl" "$DIR/state" "$DIR/log" "$DIR/out" "$DIR/pdf-spool"
    # cupsd runs filters as the unprivileged user lp, which must reach the spool.
    RUN=$(mktemp -d /tmp/brenvo-cups.XXXXXX)
    echo "$RUN" >"$DIR/runtime"
    mkdir -p "$RUN/spool/tmp" "$RUN/cache"
    chmod 755 "$RUN" "$RUN/spool" "$RUN/spool/tmp" "$RUN/cache" "$DIR/out"

    cat >"$DIR/conf/cupsd.conf" <<CONF
LogLevel warn
Listen $DIR/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cat >"$DIR/conf/cups-files.conf" <<CONF
ServerRoot $DIR/conf
RequestRoot $RUN/spool
TempDir $RUN/spool/tmp
CacheDir $RUN/cache
StateDir $DIR/state
ErrorLog $DIR/log/error_log
AccessLog $DIR/log/access_log
PageLog $DIR/log/page_log
Printcap $DIR/printcap
ServerKeychain $DIR/conf/ssl
FileDevice No
CONF
    cat >"$QUEUE_CONF" <<CONF
Out $DIR/out
Spool $DIR/pdf-spool
Log $DIR/log
AnonDirName $DIR/out
UserPrefix
Label 0
CONF

    cupsd -f -c "$DIR/conf/cupsd.conf" -s "$DIR/conf/cups-files.conf" \
        >"$DIR/log/cupsd.out" 2>&1 &
    echo $! >"$DIR/cupsd.pid"

    export CUPS_SERVER="$DIR/cups.sock"
    i=0
    # lpstat -r answers 0 either way; only its text tells whether the daemon is up.
    until [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; do
        i=$((i + 1))
        if [ $i -gt 100 ] || ! kill -0 "$(cat "$DIR/cupsd.pid")" 2>/dev/null; then
            echo "private cupsd did not come up; see $DIR/log" >&2
            cat "$DIR/log/cupsd.out" "$DIR/log/error_log" 2>/dev/null >&2 || true
            stop
            exit 1
        fi
        sleep 0.1
    done
    lpadmin -p "$QUEUE" -v "cups-pdf:/$QUEUE" -P "$PPD" -E
    lpadmin -d "$QUEUE"
    echo "$CUPS_SERVER" >"$DIR/server"
    echo "$QUEUE" >"$DIR/queue"
}

stop() {
    if [ -f "$DIR/cupsd.pid" ]; then
        pid=$(cat "$DIR/cupsd.pid")
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid"
            i=0
            while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
                i=$((i + 1))
                sleep 0.1
            done
        fi
        rm -f "$DIR/cupsd.pid"
    fi
    if [ -f "$DIR/runtime" ]; then
        rm -rf "$(cat "$DIR/runtime")"
        rm -f "$DIR/runtime"
    fi
    rm -f "$QUEUE_CONF"
}

case $1 in
start) start ;;
stop) stop ;;
*) usage ;;
esac
