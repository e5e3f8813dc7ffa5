#!/usr/bin/env bash
# Usage: prova-installazione.sh BUILD VERSION SERVER_DIR
# Makes the Debian packages from BUILD, unpacks them into a scratch root (nothing is installed on
# the machine), checks them with lintian, builds a host that lives outside the repository against
# that root alone (CMake package and pkg-config file), and runs it off screen against the private
# server in SERVER_DIR. Its QMYSQL driver is the system's, from the package's libqt6sql6-mysql.
set -euo pipefail
trap 'echo "prova-installazione.sh: line $LINENO failed" >&2' ERR
build=$1 versione=$2 server=$3
radice_sorgenti=$(cd "$(dirname "$0")/../.." && pwd)
lavoro=$(mktemp -d)
db=installazione_$$
sql() { bash "$radice_sorgenti/scripts/server-db.sh" client "$server" "$@"; }
trap 'sql -e "DROP DATABASE IF EXISTS $db" || true; rm -rf "$lavoro"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$lavoro/deb" >/dev/null
lintian --fail-on error,warning "$lavoro"/deb/*_"$versione"_*.deb
radice=$lavoro/radice
for deb in "$lavoro"/deb/*_"$versione"_*.deb; do dpkg-deb -x "$deb" "$radice"; done
dipendenze=$(dpkg-deb -f "$lavoro"/deb/libbelvoraniriscuticontrassegni[0-9]*.deb Depends)
[[ $dipendenze == *libqt6sql6-mysql* && $dipendenze == *qt6-translations-l10n* ]]

cp -r "$radice_sorgenti/tests/installazione/ospite" "$lavoro/ospite"
cmake -S "$lavoro/ospite" -B "$lavoro/build" -DCMAKE_PREFIX_PATH="$radice/usr" >/dev/null
cmake --build "$lavoro/build" -j2 >/dev/null
grep -q "$radice/usr/lib/.*libBelvoraniRiscutiContrassegni.so.1 " <<<"$(ldd "$lavoro/build/ospite")"
export PKG_CONFIG_PATH=$(echo "$radice"/usr/lib/*/pkgconfig)
[[ $(pkg-config --modversion BelvoraniRiscutiContrassegni) == "$versione" ]]
g++ -std=c++17 -fPIC "$lavoro/ospite/main.cpp" -o "$lavoro/ospite-pc" \
    $(pkg-config --cflags --libs BelvoraniRiscutiContrassegni)

bash "$radice_sorgenti/scripts/server-db.sh" load "$server" "$db" \
    "$radice_sorgenti/db/schema.sql" "$radice_sorgenti/db/demo.sql"
read -r ldv data filiale cliente riferimento < <(sql "$db" -N -e "SELECT lenrlv,
    DATE_FORMAT(ledtlv, '%d/%m/%Y'), lefili, lecodi, lerife FROM letve00f WHERE lerife <> '' LIMIT 1")
nome=$(sql "$db" -N -e "SELECT RagioneSociale FROM clien WHERE Codice = $cliente")
uscita=$(env -u QT_PLUGIN_PATH QT_QPA_PLATFORM=offscreen "$lavoro/build/ospite" \
    "Socket=$server/sock;Database=$db;Uid=root;Pwd=;" "$ldv" "$data" "$filiale" "$cliente")
echo "$uscita"
grep -qxF "versione: $versione" <<<"$uscita"
grep -qxF "frmRiscuti: $nome / $riferimento" <<<"$uscita"
