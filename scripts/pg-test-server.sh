#!/usr/bin/env bash
# The throw-away PostgreSQL server of the database tests.
#
#   scripts/pg-test-server.sh start   stops a stale server, makes a fresh cluster under build/pg/,
#                                     starts it on a private Unix socket (no TCP), creates the
#                                     database qovtest from db/postgresql.sql and writes
#                                     build/pg/env.sh, which exports QOV_TEST_PG
#   scripts/pg-test-server.sh stop    stops the server and removes its data
#   scripts/pg-test-server.sh halt    stops the server and keeps its data (a database server
#                                     lost in the middle of a run, for the fault tests)
#   scripts/pg-test-server.sh resume  starts the halted server again
#
# QOV_PG_DIR (default build/pg) and QOV_PG_PORT (default 54329) let a test run a server of its
# own beside the shared one.
#
# Installs nothing (scripts/install-deps.sh does). PostgreSQL refuses to run as root, so under
# root the server runs as the `postgres` system user; when that user cannot reach build/pg/
# (a clone inside /root, for instance) the cluster lives in a folder under /tmp instead, and
# build/pg/base names it.
set -euo pipefail
cd "$(dirname "$0")/.."

root_dir=$PWD
pg_dir=${QOV_PG_DIR:-$root_dir/build/pg}
port=${QOV_PG_PORT:-54329}
database=qovtest

find_bindir() {
    local dir
    if [ -x /usr/lib/postgresql/15/bin/initdb ]; then
        echo /usr/lib/postgresql/15/bin
        return 0
    fi
    for dir in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
        if [ -x "$dir/initdb" ] && [ -x "$dir/pg_ctl" ]; then
            echo "$dir"
            return 0
        fi
    done
    return 1
}

is_root() { [ "$(id -u)" -eq 0 ]; }

# Runs a command as the server's owner, from a folder that owner can enter.
as_owner() {
    if is_root; then
        (cd / && runuser -u postgres -- "$@")
    else
        (cd / && "$@")
    fi
}

# The folder that holds data/, sock/ and the logs of the current (or last) server.
current_base() {
    if [ -f "$pg_dir/base" ]; then
        cat "$pg_dir/base"
    else
        echo "$pg_dir"
    fi
}

stop_server() {
    local base data pid
    base=$(current_base)
    data=$base/data
    if [ -f "$data/postmaster.pid" ]; then
        pid=$(head -n 1 "$data/postmaster.pid" 2>/dev/null || true)
        if [ -n "${bindir:-}" ]; then
            as_owner "$bindir/pg_ctl" -D "$data" -m immediate -w -t 30 stop >/dev/null 2>&1 || true
        fi
        # A server that did not stop: end that one process, by its id.
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null &&
            [ "$(ps -o comm= -p "$pid" 2>/dev/null)" = "postgres" ]; then
            kill -KILL "$pid" 2>/dev/null || true
            sleep 1
        fi
    fi
    rm -rf "$data" "$base/sock"
    case "$base" in
        /tmp/qovcom-pg.*) rm -rf "$base" ;;
    esac
    rm -f "$pg_dir/base"
    rm -f "$pg_dir/env.sh"
}

# Picks the folder for the cluster: build/pg when the server's owner can write there and the
# socket path stays short enough, else a fresh folder under /tmp.
choose_base() {
    local base=$pg_dir
    mkdir -p "$pg_dir"
    if is_root; then
        chown postgres:postgres "$pg_dir"
        if ! runuser -u postgres -- test -w "$pg_dir" -a -x "$pg_dir" 2>/dev/null; then
            base=""
        fi
    fi
    # A Unix socket path is limited to about 107 bytes.
    if [ -n "$base" ] && [ $((${#base} + 24)) -gt 100 ]; then
        base=""
    fi
    if [ -z "$base" ]; then
        base=$(mktemp -d /tmp/qovcom-pg.XXXXXX)
        if is_root; then
            chown postgres:postgres "$base"
        fi
        echo "$base" >"$pg_dir/base"
    fi
    echo "$base"
}

start_server() {
    local base data sock psql connection
    base=$(choose_base)
    data=$base/data
    sock=$base/sock
    as_owner mkdir -p "$sock"

    if ! as_owner "$bindir/initdb" -D "$data" -U postgres -A trust -E UTF8 --locale=C \
        --no-sync >"$pg_dir/initdb.log" 2>&1; then
        echo "initdb failed:" >&2
        cat "$pg_dir/initdb.log" >&2
        return 1
    fi
    cat >>"$data/postgresql.conf" <<EOF

# Throw-away test server: private socket only, no durability.
listen_addresses = ''
port = $port
unix_socket_directories = '$sock'
fsync = off
synchronous_commit = off
full_page_writes = off
EOF
    if ! as_owner "$bindir/pg_ctl" -D "$data" -l "$base/server.log" -w -t 60 start >/dev/null; then
        echo "PostgreSQL did not start:" >&2
        cat "$base/server.log" >&2 || true
        return 1
    fi

    psql=("$bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$sock" -p "$port" -U postgres)
    "${psql[@]}" -d postgres -c \
        "CREATE DATABASE $database TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'"
    "${psql[@]}" -d "$database" -f "$root_dir/db/postgresql.sql"

    connection="Driver=PostgreSQL;Server=$sock;Port=$port;Database=$database;Uid=postgres;Pwd="
    printf 'export QOV_TEST_PG=%q\n' "$connection" >"$pg_dir/env.sh"
    echo "PostgreSQL test server on $sock (port $port), database $database"
}

case "${1:-}" in
    start)
        if ! bindir=$(find_bindir); then
            echo "PostgreSQL server programs not found (package postgresql)" >&2
            exit 1
        fi
        if is_root && ! id postgres >/dev/null 2>&1; then
            echo "the postgres system user is missing (package postgresql)" >&2
            exit 1
        fi
        stop_server
        start_server
        ;;
    stop)
        bindir=$(find_bindir || true)
        stop_server
        ;;
    halt)
        bindir=$(find_bindir)
        as_owner "$bindir/pg_ctl" -D "$(current_base)/data" -m fast -w -t 30 stop >/dev/null
        ;;
    resume)
        bindir=$(find_bindir)
        as_owner "$bindir/pg_ctl" -D "$(current_base)/data" -l "$(current_base)/server.log" \
            -w -t 60 start >/dev/null
        ;;
    *)
        echo "usage: $0 start|stop|halt|resume" >&2
        exit 2
        ;;
esac
