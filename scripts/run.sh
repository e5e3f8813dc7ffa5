#!/usr/bin/env bash
# The demo: builds the component and its demo host, starts a private MariaDB server whose data
# lives in the user's data folder (created with the demo data on first start), and runs the
# host on it. Without a display the host opens its windows off screen, saves a PNG of each and
# exits. The server stops when the host exits.
set -euo pipefail

radice=$(cd "$(dirname "$0")/.." && pwd)
build=$radice/build

bash "$radice/scripts/install-deps.sh"

cmake -S "$radice" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target riscuti-host

dati=${XDG_DATA_HOME:-$HOME/.local/share}/BelvoraniRiscutiContrassegni
# The data may sit deep in a home folder; the socket path must stay short.
socket=/tmp/rc-$(id -u).sock
server() { bash "$radice/scripts/server-db.sh" "$@"; }

mkdir -p "$dati"
server start "$dati/db" "$socket"
trap 'server stop "$dati/db" >/dev/null || true' EXIT

if [[ -z $(server client "$dati/db" -N -e "SHOW DATABASES LIKE 'trasporti'") ]]; then
    echo "run: creating the database trasporti with the demo data"
    if ! server load "$dati/db" trasporti "$radice/db/schema.sql" "$radice/db/demo.sql"; then
        server client "$dati/db" -e 'DROP DATABASE IF EXISTS trasporti'
        exit 1
    fi
fi

# The suite's INI file: the print component to use (empty: the built-in one) and the statement
# that makes a station's remittance work table. The demo copy is made once, so the operator's
# own changes to it stay.
ini=$dati/riscuti.ini
[[ -f $ini ]] || cp "$radice/db/riscuti-demo.ini" "$ini"

opzioni=(--database "Socket=$socket;Database=trasporti;Uid=root;Pwd=;" --ini "$ini")
[[ -f $radice/host/logo.png ]] && opzioni+=(--logo "$radice/host/logo.png")

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    schermate=$dati/schermate
    mkdir -p "$schermate"
    echo "run: no display; the host runs off screen and saves its windows as PNG files"
    QT_QPA_PLATFORM=offscreen "$build/host/riscuti-host" "${opzioni[@]}" \
        --schermate "$schermate" --esci
    echo "run: screenshots in $schermate:"
    ls -1 "$schermate"/*.png 2>/dev/null || echo "  (none written)"
else
    "$build/host/riscuti-host" "${opzioni[@]}"
fi
