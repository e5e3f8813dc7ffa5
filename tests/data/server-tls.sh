#!/usr/bin/env bash
# The servers of tst_tls, private to one build folder. start makes two certificate authorities
# and the certificates with openssl in DIR/pki, and starts three servers through server-db.sh,
# each on a free TCP port of 127.0.0.1 written to DIR/<server>.porta:
#   vero       TLS, certificate for "localhost" signed by DIR/pki/ca.pem (the station's CA)
#   impostore  TLS, certificate for "localhost" signed by another CA
#   chiaro     no TLS
# each with the accounts stazione (password only) and certificata (REQUIRE X509); the station's
# own certificate is DIR/pki/postazione.pem with its key DIR/pki/postazione.key.
#
#   server-tls.sh start DIR | stop DIR      (stop also deletes DIR)
set -euo pipefail

comando=$1
DIR=$2
server_db=$(cd "$(dirname "$0")/../../scripts" && pwd)/server-db.sh
PKI=$DIR/pki
SERVER=(vero impostore chiaro)
PASSWORD=Segreta-Tls-7 # tst_tls logs in with it; it must never appear in a message

ssl() { openssl "$@" 2>/dev/null; }

firma() { # NAME CA: a certificate for localhost signed by CA
    printf 'subjectAltName=DNS:localhost\n' >"$PKI/$1.ext"
    ssl req -newkey rsa:2048 -nodes -subj "/CN=$1" -keyout "$PKI/$1.key" -out "$PKI/$1.csr"
    ssl x509 -req -in "$PKI/$1.csr" -CA "$PKI/$2.pem" -CAkey "$PKI/$2.key" -CAcreateserial \
        -days 2 -extfile "$PKI/$1.ext" -out "$PKI/$1.pem"
}

avvia() { # SERVER PORT
    local opzioni=(--port="$2" --innodb-buffer-pool-size=32M)
    [[ $1 == chiaro ]] ||
        opzioni+=(--ssl-ca="$PKI/ca.pem" --ssl-cert="$PKI/$1.pem" --ssl-key="$PKI/$1.key")
    bash "$server_db" start "$DIR/$1" "$DIR/$1.sock" -- "${opzioni[@]}"
    bash "$server_db" client "$DIR/$1" -e "CREATE USER stazione@'%' IDENTIFIED BY '$PASSWORD';
        CREATE USER certificata@'%' IDENTIFIED BY '$PASSWORD' REQUIRE X509;"
    echo "$2" >"$DIR/$1.porta"
}

ferma() {
    local server esito=0
    for server in "${SERVER[@]}"; do
        [[ ! -d $DIR/$server ]] || bash "$server_db" stop "$DIR/$server" || esito=1
    done
    rm -rf "$DIR"
    return $esito
}

if [[ $comando == stop ]]; then
    ferma
    exit
fi
ferma >/dev/null # what a run cut short left behind
mkdir -p "$PKI"
for ca in ca altra-ca; do
    ssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Prova $ca" -keyout "$PKI/$ca.key" \
        -out "$PKI/$ca.pem"
done
firma vero ca && firma impostore altra-ca && firma postazione ca
# Free ports from a number of this folder's own, so two build folders rarely try the same ones.
porta=$((20000 + $(printf '%s' "$DIR" | cksum | cut -d' ' -f1) % 20000))
processi=()
for server in "${SERVER[@]}"; do
    while (exec 3<>"/dev/tcp/127.0.0.1/$porta") 2>/dev/null; do porta=$((porta + 1)); done
    avvia "$server" "$porta" &
    processi+=($!)
    porta=$((porta + 1))
done
esito=0 # a server that did not start fails the fixture, whose cleanup (stop) stops the others
for processo in "${processi[@]}"; do wait "$processo" || esito=1; done
((esito == 0)) || exit 1
echo "server-tls: vero, impostore and chiaro running; ports in $DIR/*.porta"
