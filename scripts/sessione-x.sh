#!/usr/bin/env bash
# A private X session like an operator's desktop: a virtual screen (Xvfb) with a window manager
# (openbox), for the tests that must see windows activated, mapped and focused as a real desktop
# does it. No display of the machine is touched.
#
#   sessione-x.sh start  DIR            start Xvfb and openbox on a free display (no-op if running)
#   sessione-x.sh stop   DIR            stop both
#   sessione-x.sh esegui DIR CMD [ARGS...]   run CMD in the session (DISPLAY set, QT_QPA_PLATFORM=xcb)
#
# DIR keeps the display number (DIR/display) and the two processes' ids.
set -euo pipefail

uso() {
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

(($# >= 2)) || uso
comando=$1
DIR=$2
shift 2

vivo() { [[ -f $DIR/$1.pid ]] && kill -0 "$(cat "$DIR/$1.pid")" 2>/dev/null; }

# The display answers once the window manager has taken the root window.
pronto() {
    DISPLAY=:$1 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

avvia() {
    mkdir -p "$DIR"
    if vivo xvfb && vivo openbox; then
        return 0
    fi
    ferma
    # Xvfb takes a free display number itself and writes it on descriptor 3 once it listens:
    # sessions started at the same time cannot take the same one.
    rm -f "$DIR/numero"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$DIR/numero" >"$DIR/xvfb.log" 2>&1 &
    echo $! >"$DIR/xvfb.pid"
    local i numero=
    for i in $(seq 100); do
        numero=$(cat "$DIR/numero" 2>/dev/null || true)
        [[ -n $numero ]] && break
        vivo xvfb || break
        sleep 0.1
    done
    if [[ -z $numero ]]; then
        echo "sessione-x: Xvfb did not start" >&2
        cat "$DIR/xvfb.log" >&2
        ferma
        exit 1
    fi
    DISPLAY=:$numero openbox --sm-disable >"$DIR/openbox.log" 2>&1 &
    echo $! >"$DIR/openbox.pid"
    echo "$numero" >"$DIR/display"
    # A loaded machine (parallel builds) can take many seconds to start a window manager.
    for i in $(seq 600); do
        pronto "$numero" && return 0
        vivo openbox || break
        sleep 0.1
    done
    echo "sessione-x: openbox did not start on :$numero" >&2
    cat "$DIR/openbox.log" >&2
    ferma
    exit 1
}

# Waits for each process to end: an Xvfb still closing removes its socket and lock, which a
# session started right after on the same display number would already have made its own.
ferma() {
    local p i
    for p in openbox xvfb; do
        if vivo "$p"; then
            kill "$(cat "$DIR/$p.pid")" 2>/dev/null || true
            for i in $(seq 100); do
                vivo "$p" || break
                sleep 0.05
            done
        fi
        rm -f "$DIR/$p.pid"
    done
    rm -f "$DIR/display" "$DIR/numero"
}

case $comando in
start) avvia ;;
stop) ferma ;;
esegui)
    [[ -f $DIR/display ]] || { echo "sessione-x: no session in $DIR" >&2; exit 1; }
    (($# >= 1)) || uso
    DISPLAY=:$(cat "$DIR/display") QT_QPA_PLATFORM=xcb exec "$@"
    ;;
*) uso ;;
esac
