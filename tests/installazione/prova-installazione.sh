#!/usr/bin/env bash
# Installs the component from a build tree into a scratch prefix, builds a host that lives
# outside the repository against the installed package, and runs it off screen.
set -euo pipefail
build=$1
sorgente=$(cd "$(dirname "$0")" && pwd)/ospite
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
cmake --install "$build" --prefix "$lavoro/prefisso" >/dev/null
cp -r "$sorgente" "$lavoro/ospite"
cmake -S "$lavoro/ospite" -B "$lavoro/build" -DCMAKE_PREFIX_PATH="$lavoro/prefisso" >/dev/null
cmake --build "$lavoro/build" -j2 >/dev/null
test -f "$lavoro/prefisso/include/BelvoraniRiscutiContrassegni/cRiscuti.h"
QT_QPA_PLATFORM=offscreen "$lavoro/build/ospite"
