#!/usr/bin/env bash
# A private MariaDB server for the tests and the demo: data in DIR, no TCP port unless start is
# given one, root without a password over a unix socket. No system service is needed or touched.
#
#   server-db.sh start  DIR [SOCKET] [-- OPTION...]
#                                       initialise DIR if needed and start (no-op when running);
#                                       each OPTION goes to mariadbd, and with --port=N the server
#                                       also listens on 127.0.0.1:N (a TLS server, for example:
#                                       --port=N --ssl-ca=CA --ssl-cert=CERT --ssl-key=KEY)
#   server-db.sh stop   DIR             shut down and wait for the process to go
#   server-db.sh status DIR             exit 0 when the server answers
#   server-db.sh load   DIR DBNAME FILE...   create DBNAME if missing and run the SQL files in it
#   server-db.sh client DIR [ARGS...]   the mariadb client on the server (e.g. -e 'show databases')
#
# The socket is DIR/sock unless SOCKET is given at start; start records it in DIR/socket so the
# other commands find it. Keep the socket path short: unix sockets allow about 107 bytes.
set -euo pipefail

uso() {
    sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

(($# >= 2)) || uso
comando=$1
DIR=$2
shift 2

ATTESA_SECONDI=30

percorso_socket() {
    if [[ -f $DIR/socket ]]; then
        cat "$DIR/socket"
    else
        echo "$DIR/sock"
    fi
}

client() {
    mariadb --no-defaults --default-character-set=utf8mb4 -S "$(percorso_socket)" -u root "$@"
}

risponde() {
    client -N -e 'select 1' >/dev/null 2>&1
}

pid_vivo() {
    local pid
    [[ -f $DIR/pid ]] || return 1
    pid=$(cat "$DIR/pid" 2>/dev/null) || return 1
    [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null
}

utente_opzione() {
    if ((EUID == 0)); then
        echo "--user=root"
    else
        echo "--user=$(id -un)"
    fi
}

# Table names are compared without regard to case (stored in lower case), as on the suite's
# production servers: the suite names the same table "Clien" in one place and "clien" in another.
OPZIONI_COMUNI=(--lower-case-table-names=1)

inizializza() {
    echo "server-db: initialising $DIR/data"
    mkdir -p "$DIR/data" "$DIR/tmp"
    # Its temporary tables beside the data too: two servers initialised at once clash in /tmp.
    if ! mariadb-install-db --no-defaults --datadir="$DIR/data" "$(utente_opzione)" \
        --auth-root-authentication-method=normal --skip-test-db "${OPZIONI_COMUNI[@]}" \
        --tmpdir="$DIR/tmp" \
        >"$DIR/install.log" 2>&1; then
        echo "server-db: mariadb-install-db failed:" >&2
        cat "$DIR/install.log" >&2
        rm -rf "$DIR/data"
        exit 1
    fi
}

avvia() {
    local socket=$DIR/sock opzione
    if (($# > 0)) && [[ $1 != -- ]]; then
        socket=$1
        shift
    fi
    [[ ${1:-} == -- ]] && shift
    local extra=("$@") rete=(--skip-networking)
    for opzione in "${extra[@]}"; do
        [[ $opzione == --port=* ]] && rete=(--bind-address=127.0.0.1)
    done
    mkdir -p "$DIR"
    DIR=$(cd "$DIR" && pwd)
    if [[ $socket != /* ]]; then
        socket=$PWD/$socket
    fi
    if ((${#socket} > 100)); then
        echo "server-db: socket path too long (${#socket} bytes): $socket" >&2
        exit 1
    fi

    if [[ -f $DIR/socket ]] && risponde; then
        echo "server-db: already running on $(percorso_socket)"
        return 0
    fi
    if pid_vivo; then
        # Started but not answering yet (another start is waiting for it): wait as well.
        aspetta_avvio
        return 0
    fi
    rm -f "$DIR/pid"
    echo "$socket" >"$DIR/socket"
    [[ -d $DIR/data/mysql ]] || inizializza
    # The server's temporary files (large sorts) stay beside its data: files left in /tmp can be
    # cleaned away by the machine while the server still uses them.
    mkdir -p "$DIR/tmp"

    # setsid and closed descriptors: the server must not hold the caller's terminal or pipes
    # (ctest waits for the pipes of a fixture to close).
    setsid mariadbd --no-defaults --datadir="$DIR/data" --socket="$socket" "${rete[@]}" \
        "$(utente_opzione)" --pid-file="$DIR/pid" --log-error="$DIR/err.log" \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
        --innodb-buffer-pool-size=128M --innodb-flush-log-at-trx-commit=2 \
        --skip-name-resolve --tmpdir="$DIR/tmp" "${OPZIONI_COMUNI[@]}" "${extra[@]}" \
        </dev/null >/dev/null 2>&1 &
    echo $! >"$DIR/pid.avvio"
    aspetta_avvio
    echo "server-db: running on $socket"
}

aspetta_avvio() {
    local i pid_avvio=""
    [[ -f $DIR/pid.avvio ]] && pid_avvio=$(cat "$DIR/pid.avvio")
    for ((i = 0; i < ATTESA_SECONDI * 5; i++)); do
        if risponde; then
            rm -f "$DIR/pid.avvio"
            return 0
        fi
        if [[ -n $pid_avvio ]] && ! kill -0 "$pid_avvio" 2>/dev/null && ! pid_vivo; then
            echo "server-db: the server stopped while starting; $DIR/err.log says:" >&2
            tail -n 40 "$DIR/err.log" >&2 || true
            exit 1
        fi
        sleep 0.2
    done
    echo "server-db: no answer on $(percorso_socket) after ${ATTESA_SECONDI} s; $DIR/err.log says:" >&2
    tail -n 40 "$DIR/err.log" >&2 || true
    exit 1
}

ferma() {
    local pid i
    if ! pid_vivo; then
        echo "server-db: not running"
        rm -f "$DIR/pid" "$DIR/pid.avvio"
        return 0
    fi
    pid=$(cat "$DIR/pid")
    mariadb-admin --no-defaults -S "$(percorso_socket)" -u root shutdown >/dev/null 2>&1 ||
        kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < ATTESA_SECONDI * 5; i++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            rm -f "$DIR/pid.avvio"
            echo "server-db: stopped"
            return 0
        fi
        sleep 0.2
    done
    echo "server-db: server $pid still running after ${ATTESA_SECONDI} s; sending SIGKILL" >&2
    kill -KILL "$pid" 2>/dev/null || true
    return 1
}

carica() {
    (($# >= 1)) || uso
    local database=$1 file
    shift
    if [[ ! $database =~ ^[A-Za-z0-9_]+$ ]]; then
        echo "server-db: database name must be letters, digits and _: $database" >&2
        exit 2
    fi
    client -e "CREATE DATABASE IF NOT EXISTS \`$database\` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"
    for file in "$@"; do
        if ! client "$database" <"$file"; then
            echo "server-db: loading $file into $database failed" >&2
            exit 1
        fi
    done
}

case $comando in
start) avvia "$@" ;;
stop) ferma ;;
status)
    if risponde; then
        echo "server-db: running on $(percorso_socket)"
    else
        echo "server-db: not answering on $(percorso_socket)"
        exit 1
    fi
    ;;
load) carica "$@" ;;
client) client "$@" ;;
*) uso ;;
esac
