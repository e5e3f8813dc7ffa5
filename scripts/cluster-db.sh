#!/usr/bin/env bash
# A private MariaDB Galera cluster of three nodes on loopback, for the tests that must hold where
# each branch's stations talk to the nearest node. No system service is touched.
#
#   cluster-db.sh start  DIR      initialise DIR if needed and start the three nodes (no-op when up)
#   cluster-db.sh stop   DIR      stop the nodes, the last one last
#   cluster-db.sh status DIR      exit 0 when the three nodes are synced in one cluster
#   cluster-db.sh client DIR N [ARGS...]   the mariadb client on node N (1 to 3)
#
# Node N keeps its data in DIR/nN, its socket in DIR/nN/sock and its ports in DIR/nN/porte (SQL,
# group communication, incremental transfer, state transfer), chosen free when DIR is made. The
# servers run as the `mysql` user (rsync's state transfer drops root), so DIR must be a place
# that user can reach: keep it under /tmp, and short (unix sockets allow about 107 bytes).
set -euo pipefail

uso() {
    sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

(($# >= 2)) || uso
comando=$1
DIR=$2
shift 2

NODI=3
ATTESA_SECONDI=90
PROVIDER=/usr/lib/galera/libgalera_smm.so
UTENTE=mysql

client() {
    local n=$1
    shift
    mariadb --no-defaults --default-character-set=utf8mb4 -S "$DIR/n$n/sock" -u root "$@"
}

stato_nodo() {
    client "$1" -N -e "SHOW STATUS LIKE 'wsrep_local_state_comment'" 2>/dev/null | cut -f2
}

dimensione() {
    client "$1" -N -e "SHOW STATUS LIKE 'wsrep_cluster_size'" 2>/dev/null | cut -f2
}

sincronizzato() {
    [[ $(stato_nodo "$1") == Synced && $(dimensione "$1") == "$NODI" ]]
}

tutti_sincronizzati() {
    local n
    for n in $(seq $NODI); do sincronizzato "$n" || return 1; done
}

vivo() { [[ -f $DIR/n$1/pid ]] && kill -0 "$(cat "$DIR/n$1/pid")" 2>/dev/null; }

porta_libera() {
    ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && ! grep -qw "$1" "$DIR"/n*/porte 2>/dev/null
}

# Four free ports a node: SQL, group communication, incremental transfer, state transfer.
scegli_porte() {
    local n=$1 porte=() p=$((20000 + RANDOM % 30000))
    while ((${#porte[@]} < 4)); do
        porta_libera "$p" && porte+=("$p")
        p=$((p + 1))
    done
    echo "${porte[*]}" >"$DIR/n$n/porte"
}

porta() { cut -d' ' -f"$2" "$DIR/n$1/porte"; }

indirizzi_gruppo() {
    local n lista=()
    for n in $(seq $NODI); do lista+=("127.0.0.1:$(porta "$n" 2)"); done
    local IFS=,
    echo "${lista[*]}"
}

inizializza() {
    local n=$1
    mkdir -p "$DIR/n$n/data" "$DIR/n$n/tmp"
    scegli_porte "$n"
    chown -R "$UTENTE" "$DIR/n$n"
    if ! mariadb-install-db --no-defaults --datadir="$DIR/n$n/data" --user="$UTENTE" \
        --auth-root-authentication-method=normal --skip-test-db --lower-case-table-names=1 \
        --tmpdir="$DIR/n$n/tmp" >"$DIR/n$n/install.log" 2>&1; then
        echo "cluster-db: mariadb-install-db failed for node $n:" >&2
        cat "$DIR/n$n/install.log" >&2
        exit 1
    fi
}

avvia_nodo() {
    local n=$1 nuovo=$2
    local opzioni=(--no-defaults --datadir="$DIR/n$n/data" --socket="$DIR/n$n/sock"
        --pid-file="$DIR/n$n/pid" --log-error="$DIR/n$n/err.log" --tmpdir="$DIR/n$n/tmp"
        --user="$UTENTE" --bind-address=127.0.0.1 --port="$(porta "$n" 1)"
        --lower-case-table-names=1 --binlog-format=ROW --innodb-autoinc-lock-mode=2
        --default-storage-engine=InnoDB --wsrep-on=ON --wsrep-provider="$PROVIDER"
        --wsrep-cluster-name=riscuti --wsrep-node-name="n$n"
        --wsrep-node-address=127.0.0.1
        --wsrep-provider-options="gmcast.listen_addr=tcp://127.0.0.1:$(porta "$n" 2);ist.recv_addr=127.0.0.1:$(porta "$n" 3)"
        --wsrep-sst-method=rsync --wsrep-sst-receive-address="127.0.0.1:$(porta "$n" 4)"
        --wsrep-cluster-address="gcomm://$(indirizzi_gruppo)")
    ((nuovo)) && opzioni+=(--wsrep-new-cluster)
    mariadbd "${opzioni[@]}" >>"$DIR/n$n/err.log" 2>&1 &
}

attendi() {
    local descrizione=$1
    shift
    local i
    for ((i = 0; i < ATTESA_SECONDI * 5; i++)); do
        "$@" && return 0
        sleep 0.2
    done
    echo "cluster-db: $descrizione not reached in ${ATTESA_SECONDI}s" >&2
    tail -n 20 "$DIR"/n*/err.log >&2
    return 1
}

# The node that stopped last holds the most recent state: a cluster stopped whole starts again
# from it, or a joiner refuses to go back in history.
primo_nodo() {
    local n migliore=1 massimo=-2 seqno
    for n in $(seq $NODI); do
        seqno=$(sed -n 's/^seqno: *//p' "$DIR/n$n/data/grastate.dat" 2>/dev/null || echo -1)
        [[ -n $seqno ]] || seqno=-1
        if ((seqno > massimo)); then massimo=$seqno migliore=$n; fi
    done
    sed -i 's/^safe_to_bootstrap: 0/safe_to_bootstrap: 1/' "$DIR/n$migliore/data/grastate.dat" 2>/dev/null || true
    echo "$migliore"
}

avvia() {
    mkdir -p "$DIR"
    chmod 755 "$DIR"
    if tutti_sincronizzati 2>/dev/null; then
        return 0
    fi
    ferma >/dev/null 2>&1 || true
    local n
    for n in $(seq $NODI); do
        [[ -d $DIR/n$n/data/mysql ]] || inizializza "$n"
    done
    local primo
    primo=$(primo_nodo)
    avvia_nodo "$primo" 1
    attendi "node $primo synced" bash -c "[[ \$(mariadb --no-defaults -S '$DIR/n$primo/sock' -u root -N -e \"SHOW STATUS LIKE 'wsrep_local_state_comment'\" 2>/dev/null | cut -f2) == Synced ]]"
    for n in $(seq $NODI); do
        ((n == primo)) || avvia_nodo "$n" 0
        ((n == primo)) || attendi "node $n synced" bash -c "[[ \$(mariadb --no-defaults -S '$DIR/n$n/sock' -u root -N -e \"SHOW STATUS LIKE 'wsrep_local_state_comment'\" 2>/dev/null | cut -f2) == Synced ]]"
    done
    attendi "a cluster of $NODI synced nodes" tutti_sincronizzati
}

ferma_nodo() {
    local n=$1 i
    vivo "$n" || return 0
    kill "$(cat "$DIR/n$n/pid")" 2>/dev/null || true
    for ((i = 0; i < ATTESA_SECONDI * 5; i++)); do
        vivo "$n" || return 0
        sleep 0.2
    done
    echo "cluster-db: node $n did not stop" >&2
    return 1
}

ferma() {
    local n
    for n in $(seq $NODI | sort -r); do ferma_nodo "$n"; done
}

case $comando in
start) avvia ;;
stop) ferma ;;
status) tutti_sincronizzati ;;
client)
    (($# >= 1)) || uso
    n=$1
    shift
    client "$n" "$@"
    ;;
*) uso ;;
esac
