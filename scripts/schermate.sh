#!/usr/bin/env bash
# The screenshots of docs/schermate: the demo host on a fresh copy of the demo data, in a private
# X session with a window manager (title bars and all), in Italian, driven from the keyboard as an
# operator drives it. Writes the PNG files into the folder given (default docs/schermate).
set -euo pipefail

radice=$(cd "$(dirname "$0")/.." && pwd)
uscita=$(cd "${1:-$radice/docs/schermate}" && pwd)
build=$radice/build

bash "$radice/scripts/install-deps.sh" xdotool imagemagick
cmake -S "$radice" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target riscuti-host

lavoro=$(mktemp -d /tmp/rcs-XXXXXX)
server() { bash "$radice/scripts/server-db.sh" "$@"; }
sessione() { bash "$radice/scripts/sessione-x.sh" "$@"; }
fine() {
    [[ -n ${ospite:-} ]] && kill "$ospite" 2>/dev/null
    sessione stop "$lavoro/x" || true
    server stop "$lavoro/db" >/dev/null || true
    rm -rf "$lavoro"
}
trap fine EXIT

server start "$lavoro/db" >/dev/null
server load "$lavoro/db" trasporti "$radice/db/schema.sql" "$radice/db/demo.sql"
sessione start "$lavoro/x"
export DISPLAY=:$(cat "$lavoro/x/display")

# A machine without regional settings: the host takes it as Italian. Letters go to the archive.
LANG=C RISCUTI_STAMPA=nessuna RISCUTI_ARCHIVIO_STAMPE=$lavoro/stampe QT_QPA_PLATFORM=xcb \
    "$build/host/riscuti-host" --database "Socket=$lavoro/db/sock;Database=trasporti;Uid=root;Pwd=;" \
    --ini "$radice/db/riscuti-demo.ini" --logo "$radice/host/logo.png" &
ospite=$!

finestra() { xdotool search --sync --onlyvisible --name "^$1\$" | tail -n 1; }
tasti() { sleep 0.4; xdotool key --delay 80 "$@"; }
scrivi() { sleep 0.3; xdotool type --delay 40 "$1"; }
# The window with its frame, as the window manager draws it.
scatta() {
    sleep 0.8
    import -frame -window "$(finestra "$1")" "$uscita/$2.png"
    echo "schermate: $2.png"
}

ospite_davanti() { sleep 0.4; xdotool windowactivate --sync "$(finestra "Gestione Trasporti")"; }
finestra "Gestione Trasporti" >/dev/null

# Incasso contrassegni: a remitted waybill found by the sender's reference.
tasti alt+i
finestra "Incasso contrassegni" >/dev/null
scrivi 1005; tasti Tab
scrivi RIF-2026-02136; tasti Tab
scrivi 25102026; tasti Tab
scatta "Incasso contrassegni" 1-incasso-ldv

# The customer's shipments (F12 with no reference typed); one not collected yet is picked.
tasti shift+Tab shift+Tab ctrl+a BackSpace F12
finestra "Ricerca per riferimento" >/dev/null
scatta "Ricerca per riferimento" 2-elenco-spedizioni
scrivi RIF-2026-02134; tasti Return alt+s

# Its collection, ready to save: by banker's draft, collected in cash at the desk.
tasti Tab Tab Tab Tab Tab Tab Tab Tab; scrivi A
tasti Tab; scrivi "Banca Popolare di Milano"
tasti Tab; scrivi 0034567890
tasti Tab; scrivi Milano
tasti Tab; scrivi "1970,52"
tasti Tab; scrivi I
scatta "Incasso contrassegni" 3-incasso-compilato
tasti alt+s
scatta "Gestione riscuti contrassegni." 3-salvataggio
tasti Return alt+e

# Rimessa contrassegni: November's cash collections of the customer, and the question before
# the posting.
ospite_davanti
tasti alt+r
finestra "Rimessa contrassegni" >/dev/null
scrivi 1005; tasti Tab
scrivi I; tasti Tab
scrivi 01112026; tasti Tab
scrivi 30112026; tasti Tab
scatta "Rimessa contrassegni" 4-rimessa
tasti space
scatta "Gestione riscuti contrassegni" 4-domanda
tasti alt+s
# The letter's PDF copy, once written whole (its name is reserved first, empty).
lettera() { ls "$lavoro"/stampe/*.pdf 2>/dev/null | head -n 1; }
for i in $(seq 100); do
    [[ -n $(lettera) && -s $(lettera) ]] && break
    sleep 0.2
done
sleep 1
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$(lettera)" "$uscita/5-lettera"
echo "schermate: 5-lettera.png"

# Annulla Rimessa contrassegni, with the number and date of the remittance just posted.
ospite_davanti
tasti alt+a
finestra "Annulla Rimessa contrassegni" >/dev/null
numero=$(server client "$lavoro/db" trasporti -N -e 'select UltimoNumDistVersam from zolvimacon_tabge00f')
scrivi "$numero"; tasti Tab
scrivi "$(date +%d%m%Y)"
scatta "Annulla Rimessa contrassegni" 6-annulla
tasti alt+e

# Storico contrassegni: the rows of the waybill saved above, newest first.
ospite_davanti
tasti alt+t
finestra "Storico contrassegni" >/dev/null
scrivi 10844; tasti alt+c
scatta "Storico contrassegni" 7-storico
tasti alt+e

# Contrassegni in sospeso: every customer today, then one customer's waybills (double click on
# its line), and the report saved as PDF through the file dialog.
ospite_davanti
tasti alt+o
finestra "Contrassegni in sospeso" >/dev/null
tasti alt+l; scrivi 1001; tasti alt+c
sospesi=$(finestra "Contrassegni in sospeso")
sleep 0.8
xdotool mousemove --window "$sospesi" 160 162 click --repeat 2 --delay 80 1
scatta "Contrassegni in sospeso" 8-sospesi-cliente
tasti alt+l ctrl+a BackSpace alt+c
scatta "Contrassegni in sospeso" 8-sospesi
tasti alt+p
finestra "Salva in PDF" >/dev/null
tasti ctrl+a; scrivi "$lavoro/sospesi.pdf"; tasti Return
finestra "Riscuti" >/dev/null
tasti Return
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$lavoro/sospesi.pdf" "$uscita/9-sospesi-pdf"
echo "schermate: 9-sospesi-pdf.png"
