#!/usr/bin/env bash
# Builds everything into build-test and runs every test suite. The database suites get a private
# MariaDB server that ctest starts and stops around them (see tests/CMakeLists.txt).
set -euo pipefail

radice=$(cd "$(dirname "$0")/.." && pwd)
build=$radice/build-test

bash "$radice/scripts/install-deps.sh"

cmake -S "$radice" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2

# ctest's cleanup fixtures stop the servers, the cluster and the X session; this covers a run cut short (Ctrl+C, a crash of
# ctest). The folder names are the ones tests/CMakeLists.txt and tests/data derive from the build.
hash=$(printf '%s' "$build" | sha1sum | cut -c1-10)
ferma_server() {
    bash "$radice/scripts/server-db.sh" stop "/tmp/rcdb-$hash" >/dev/null 2>&1 || true
    bash "$radice/tests/data/server-tls.sh" stop "/tmp/rctls-$hash" >/dev/null 2>&1 || true
    bash "$radice/scripts/sessione-x.sh" stop "/tmp/rcx-$hash" >/dev/null 2>&1 || true
    bash "$radice/scripts/cluster-db.sh" stop "/tmp/rcg-$hash" >/dev/null 2>&1 || true
}
trap ferma_server EXIT

# Two at a time, as the machine has two cores; the suites on the X session take it one at a time.
ctest --test-dir "$build" --output-on-failure -j2
