#!/usr/bin/env bash
# The benchmark: builds the driver, starts a private MariaDB server on a data folder of its own,
# generates the large database once (1,000,000 waybills; kept between runs while it is complete
# and was made by the current schema and generator), runs the component's windows against it
# offscreen and prints the table of timings.
#
#   bash scripts/bench.sh [--ldv N] [driver options]
#
# --ldv N: the company's size in waybills (default 1000000); each size is a database of its own
# on the same server (trasporti_bench, trasporti_bench_<N>), generated once.
#
# Driver options (all optional): --ripetizioni N (samples of each interactive action, 50),
# --ripetizioni-lista N (10), --ripetizioni-rimessa N (5), --ricerche-memoria N (1000),
# --aperture N (cold openings of each window, 20), --scenari a,b (aperture, connessione, cliente,
# riferimento, lista, memoria, rimessa), --schermate DIR (screenshots of the windows at work).
#
# Environment: RISCUTI_BENCH_DIR, the data folder (default
# ${XDG_DATA_HOME:-~/.local/share}/BelvoraniRiscutiContrassegni/bench; delete it to generate
# again); RISCUTI_BENCH_SOCKET, the server's socket (default /tmp/rcb-<uid>.sock; give each data
# folder its own when two benchmarks run side by side); RISCUTI_BENCH_BUFFER_POOL, the server's InnoDB buffer pool (default 1G).
set -euo pipefail

radice=$(cd "$(dirname "$0")/.." && pwd)
build=$radice/build-bench
ldv=1000000
if [[ ${1:-} == --ldv ]]; then
    ldv=$2
    shift 2
fi
[[ $ldv =~ ^[1-9][0-9]{4,8}$ ]] || { echo "bench: --ldv takes 10000 to 999999999" >&2; exit 2; }
database=trasporti_bench
((ldv == 1000000)) || database=trasporti_bench_$ldv
# The generator at this size: the waybills' sequence and the spread of their dates over two years.
generatore() {
    sed -e "s/seq_1_to_1000000/seq_1_to_$ldv/" -e "s#(x.n - 1) \* 730 / 1000000#(x.n - 1) * 730 / $ldv#g" \
        "$radice/bench/genera.sql"
}

bash "$radice/scripts/install-deps.sh"

cmake -S "$radice" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target riscuti-bench

dati=${RISCUTI_BENCH_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/BelvoraniRiscutiContrassegni/bench}
# The data may sit deep in a home folder; the socket path must stay short.
socket=${RISCUTI_BENCH_SOCKET:-/tmp/rcb-$(id -u).sock}
server() { bash "$radice/scripts/server-db.sh" "$@"; }

# The server's temporary files (sorts, the generator's work) stay in the data folder: /tmp is
# shared with whatever else runs on the machine, and a sort file removed there fails a statement.
mkdir -p "$dati/tmp"
TMPDIR=$dati/tmp server start "$dati" "$socket"
trap 'server stop "$dati" >/dev/null || true' EXIT
# A production server holds its working set in memory; the private server starts with a small
# pool. Resized at every start (the setting does not survive a restart).
pool=$(numfmt --from=iec "${RISCUTI_BENCH_BUFFER_POOL:-1G}")
server client "$dati" -e "SET GLOBAL innodb_buffer_pool_size = $pool"

# The signature of what made the data: a changed schema or generator generates again.
firma=$({ cat "$radice/db/schema.sql"; generatore; } | sha1sum | cut -c1-40)
attuale=$(server client "$dati" -N -e "SELECT firma FROM $database.bench_generazione" 2>/dev/null ||
    true)
if [[ $attuale != "$firma" ]]; then
    echo "bench: generating the database $database ($ldv waybills; a few minutes a million)"
    server client "$dati" -e "DROP DATABASE IF EXISTS $database;
        CREATE DATABASE $database CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"
    inizio=$(date +%s)
    if ! { echo "SET @firma_generazione = '$firma';"; cat "$radice/db/schema.sql"; generatore; } |
        server client "$dati" "$database" >/dev/null; then
        echo "bench: generating the database failed" >&2
        server client "$dati" -e "DROP DATABASE IF EXISTS $database"
        exit 1
    fi
    echo $(($(date +%s) - inizio)) >"$dati/secondi-generazione-$database"
fi
if [[ -f $dati/secondi-generazione-$database ]]; then
    echo "bench: database generated in $(cat "$dati/secondi-generazione-$database") s," \
        "on $(server client "$dati" -N -e "SELECT caricato_il FROM $database.bench_generazione")"
fi

if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=$dati/runtime
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi
QT_QPA_PLATFORM=offscreen "$build/bench/riscuti-bench" --socket "$socket" --database "$database" \
    "$@" | tee "$dati/ultimo-risultato.md"
echo "bench: the table is also in $dati/ultimo-risultato.md"
