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

comando=${1:-}
DIR=${2:-}
if [[ -z $DIR || ! $comando =~ ^(start|stop)$ ]]; then
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
server_db=$(cd "$(dirname "$0")/../../scripts" && pwd)/server-db.sh
PKI=$DIR/pki
SERVER=(vero impostore chiaro)
# The password tst_tls logs in with; it must never appear in a message.
PASSWORD=Segreta-Tls-7

firma() { # NAME CA [subjectAltName]
    local estensioni=$PKI/$1.ext
    printf 'subjectAltName=%s\n' "${3:-DNS:$1}" >"$estensioni"
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$1" -keyout "$PKI/$1.key" -out "$PKI/$1.csr" \
        2>/dev/null
    openssl x509 -req -in "$PKI/$1.csr" -CA "$PKI/$2.pem" -CAkey "$PKI/$2.key" -CAcreateserial \
        -days 2 -extfile "$estensioni" -out "$PKI/$1.pem" 2>/dev/null
}

certificati() {
    mkdir -p "$PKI"
    local ca
    for ca in ca altra-ca; do
        openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Prova $ca" \
            -keyout "$PKI/$ca.key" -out "$PKI/$ca.pem" 2>/dev/null
    done
    firma vero ca DNS:localhost
    firma impostore altra-ca DNS:localhost
    firma postazione ca
}

porta_libera() { # FROM: the first port from FROM on where nothing answers
    local porta
    for ((porta = $1; porta < $1 + 500; porta++)); do
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$porta") 2>/dev/null; then
            echo "$porta"
            return 0
        fi
    done
    return 1
}

avvia() { # SERVER PORT
    local opzioni=(--port="$2" --innodb-buffer-pool-size=32M)
    if [[ $1 != chiaro ]]; then
        opzioni+=(--ssl-ca="$PKI/ca.pem" --ssl-cert="$PKI/$1.pem" --ssl-key="$PKI/$1.key")
    fi
    bash "$server_db" start "$DIR/$1" "$DIR/$1.sock" -- "${opzioni[@]}"
    bash "$server_db" client "$DIR/$1" -e "
        CREATE USER stazione@'%' IDENTIFIED BY '$PASSWORD';
        CREATE USER certificata@'%' IDENTIFIED BY '$PASSWORD' REQUIRE X509;"
    echo "$2" >"$DIR/$1.porta"
}

ferma() {
    local server esito=0
    for server in "${SERVER[@]}"; do
        if [[ -d $DIR/$server ]]; then
            bash "$server_db" stop "$DIR/$server" || esito=1
        fi
    done
    rm -rf "$DIR"
    return $esito
}

if [[ $comando == stop ]]; then
    ferma
    exit
fi

ferma >/dev/null # what a run cut short left behind
certificati
# Ports from a number of this folder's own, so two build folders rarely try the same ones.
porta=$((20000 + $(printf '%s' "$DIR" | cksum | cut -d' ' -f1) % 20000))
processi=()
for server in "${SERVER[@]}"; do
    porta=$(porta_libera "$porta")
    avvia "$server" "$porta" &
    processi+=($!)
    porta=$((porta + 1))
done
esito=0
for processo in "${processi[@]}"; do
    wait "$processo" || esito=1
done
if ((esito != 0)); then
    echo "server-tls: a server did not start; stopping the others" >&2
    ferma >&2 || true
    exit 1
fi
echo "server-tls: vero, impostore and chiaro running; ports in $DIR/*.porta"
