#!/bin/sh
# Starts and stops a reference backend for the tests (the CTest fixture "backend").
#
#   backend-fixture.sh start BACKEND_EXE DB_FILE URL_FILE PID_FILE [more backend options]
#       a fresh demo database, a free loopback port; waits (at most 10 s) until the backend
#       has written its base URL into URL_FILE, and records its process id in PID_FILE.
#   backend-fixture.sh stop PID_FILE
#       stops that process (and only that one).
set -u

case "${1:-}" in
start)
    [ $# -ge 5 ] || { echo "usage: $0 start BACKEND_EXE DB_FILE URL_FILE PID_FILE [options]" >&2; exit 2; }
    exe=$2 db=$3 url=$4 pidfile=$5
    shift 5
    mkdir -p "$(dirname "$db")" "$(dirname "$url")" "$(dirname "$pidfile")"
    if [ -f "$pidfile" ]; then
        # A backend left over from an interrupted run of the same fixture.
        kill "$(cat "$pidfile")" 2>/dev/null
        rm -f "$pidfile"
    fi
    rm -f "$db" "$db-wal" "$db-shm" "$db.key" "$url"
    # No inherited stdout: CTest would otherwise wait for the backend to close it. The store's
    # day is Shanghai's, as the screen tests' is, whatever zone the machine runs in.
    TZ=Asia/Shanghai "$exe" --db "$db" --port 0 --demo --url-file "$url" "$@" \
        </dev/null >"$db.log" 2>&1 &
    pid=$!
    echo "$pid" >"$pidfile"
    tries=0
    while [ ! -s "$url" ]; do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "the backend stopped while starting:" >&2
            cat "$db.log" >&2
            rm -f "$pidfile"
            exit 1
        fi
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "the backend did not start within 10 seconds" >&2
            kill "$pid" 2>/dev/null
            rm -f "$pidfile"
            exit 1
        fi
        sleep 0.1
    done
    echo "backend $pid at $(cat "$url")"
    ;;
stop)
    [ $# -eq 2 ] || { echo "usage: $0 stop PID_FILE" >&2; exit 2; }
    pidfile=$2
    [ -f "$pidfile" ] || { echo "no backend recorded in $pidfile"; exit 0; }
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    kill -9 "$pid" 2>/dev/null
    rm -f "$pidfile"
    echo "backend $pid stopped"
    ;;
*)
    echo "usage: $0 start|stop ..." >&2
    exit 2
    ;;
esac
