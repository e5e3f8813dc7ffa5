#!/usr/bin/env bash
# Many stations at once: builds the load driver, starts a private server and then a private
# three-node Galera cluster (on loopback, in folders of their own under /tmp), loads the same
# generated company into each (bench/carico/genera.sql), runs the stations' mix against each and
# prints both tables; stops everything at the end, also on Ctrl+C. Not part of the tests.
#
#   bash scripts/carico.sh [--postazioni N] [--secondi S] [--solo server|cluster]
#
# N stations (50) work S seconds (120) each. The tables are also written to
# $RISCUTI_CARICO_DIR/risultato.md (default /tmp/rcl-<uid>). Exit status 0 when no action failed
# and every invariant held on every target.
set -euo pipefail

radice=$(cd "$(dirname "$0")/.." && pwd)
postazioni=50
secondi=120
solo=
while (($#)); do
    case $1 in
    --postazioni)
        postazioni=$2
        shift 2
        ;;
    --secondi)
        secondi=$2
        shift 2
        ;;
    --solo)
        solo=$2
        shift 2
        ;;
    *)
        sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2
        exit 2
        ;;
    esac
done

[[ $solo =~ ^(|server|cluster)$ ]] || {
    echo "carico: --solo takes server or cluster" >&2
    exit 2
}

bash "$radice/scripts/install-deps.sh"
command -v unshare >/dev/null || {
    echo "carico: unshare (util-linux) is needed to give each station its own computer name" >&2
    exit 1
}
build=$radice/build-carico
cmake -S "$radice" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRISCUTI_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target riscuti-carico
driver=$build/bench/carico/riscuti-carico

# Short paths: the sockets live there. The cluster's servers run as mysql, which must reach it.
base=${RISCUTI_CARICO_DIR:-/tmp/rcl-$(id -u)}
server_dir=$base/s
cluster_dir=$base/c
database=carico
server() { bash "$radice/scripts/server-db.sh" "$@"; }
cluster() { bash "$radice/scripts/cluster-db.sh" "$@"; }

ferma() {
    server stop "$server_dir" >/dev/null 2>&1 || true
    [[ -d $cluster_dir ]] && cluster stop "$cluster_dir" >/dev/null 2>&1 || true
}
trap ferma EXIT
trap 'exit 130' INT TERM

ferma
rm -rf "$server_dir" "$cluster_dir" "$base"/out-*
mkdir -p "$base"
chmod 755 "$base"
: >"$base/risultato.md"

porta_libera() {
    local p=$((20000 + RANDOM % 30000))
    while (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; do p=$((p + 1)); done
    echo "$p"
}

genera() { cat "$radice/db/schema.sql" "$radice/bench/carico/genera.sql"; }
testo() { echo "Server=127.0.0.1;Port=$1;Database=$database;Uid=root;Pwd=;"; }
esito=0

# carica ETICHETTA OBIETTIVO_MS CARTELLA PORTA...: the driver against one server or the nodes.
esegui() {
    local etichetta=$1 obiettivo=$2 cartella=$3 porta connessioni=()
    shift 3
    for porta in "$@"; do connessioni+=(--connessione "$(testo "$porta")"); done
    echo "carico: $etichetta, $postazioni stations for $secondi s"
    if ! "$driver" "${connessioni[@]}" --postazioni "$postazioni" --secondi "$secondi" \
        --etichetta "$etichetta" --obiettivo-ms "$obiettivo" --cartella "$cartella" |
        tee -a "$base/risultato.md"; then
        esito=1
    fi
}

if [[ $solo != cluster ]]; then
    porta=$(porta_libera)
    server start "$server_dir" -- --port="$porta" >/dev/null
    server client "$server_dir" -e "DROP DATABASE IF EXISTS $database"
    genera | server load "$server_dir" "$database" /dev/stdin
    esegui "One server" 50 "$base/out-server" "$porta"
    server stop "$server_dir" >/dev/null
fi

if [[ $solo != server ]]; then
    echo "carico: starting the three-node cluster"
    cluster start "$cluster_dir"
    porte=()
    for n in 1 2 3; do
        porte+=("$(cut -d' ' -f1 "$cluster_dir/n$n/porte")")
        # As the one server: the log written at each commit, flushed once a second (a node's
        # commit is safe on the other nodes anyway).
        cluster client "$cluster_dir" "$n" -e "SET GLOBAL innodb_flush_log_at_trx_commit=2"
    done
    cluster client "$cluster_dir" 1 -e "DROP DATABASE IF EXISTS $database;
        CREATE DATABASE $database CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"
    genera | cluster client "$cluster_dir" 1 "$database"
    # The other nodes have applied the load when their reads, waiting for it, see its mark.
    for n in 2 3; do
        for ((i = 0; i < 240; i++)); do
            [[ $(cluster client "$cluster_dir" "$n" "$database" -N -e \
                "SET SESSION wsrep_sync_wait=15; SELECT COUNT(*) FROM carico_generazione" \
                2>/dev/null) == 1 ]] && break
            sleep 0.5
        done
    done
    cluster status "$cluster_dir"
    esegui "Three-node cluster" 100 "$base/out-cluster" "${porte[@]}"
fi

echo "carico: the tables are also in $base/risultato.md"
exit $esito
