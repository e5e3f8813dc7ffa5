#!/usr/bin/env bash
# Builds everything into build-test and runs every test suite. The database suites get a private
# MariaDB server that ctest starts and stops around them (see tests/CMakeLists.txt).
set -euo pipefail

radice=$(cd "$(dirname "$0")/.." && pwd)
build=$radice/build-test

bash "$radice/scripts/install-deps.sh"

cmake -S "$radice" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2

# ctest's cleanup fixture stops the server; this covers a run cut short (Ctrl+C, a crash of ctest).
# The folder name is the one tests/CMakeLists.txt derives from the build folder.
hash=$(printf '%s' "$build" | sha1sum | cut -c1-10)
trap 'bash "$radice/scripts/server-db.sh" stop "/tmp/rcdb-$hash" >/dev/null 2>&1 || true' EXIT

ctest --test-dir "$build" --output-on-failure
