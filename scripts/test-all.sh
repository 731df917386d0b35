#!/usr/bin/env bash
# Every test: the format check, the fuzz targets (bounded), the serial tests under TSan, then
# the whole suite (core to the Qt pages and window) under ASan+UBSan, whose CTest summary
# closes the output. The GUI is where widget ownership and teardown order go wrong, so it
# runs under the sanitizers too; the plain build is left to `make run`.
set -euo pipefail
cd "$(dirname "$0")/.."

werror=()
[ -n "${CI:-}" ] || [ "${ORVANE_WERROR:-}" = ON ] && werror=(-DORVANE_WERROR=ON)
jobs=$(nproc)

configure() { # dir, extra cmake args...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "${werror[@]}" "$@" >/dev/null
}
section() { # what; each heading says how long the run has taken so far
    echo "== $1 (at ${SECONDS} s)"
}

section "format (clang-format, no drift)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

section "fuzz targets (clang, libFuzzer, bounded runs)"
configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANE_FUZZ=ON -DORVANE_GUI=OFF
cmake --build build-fuzz
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

section "serial tests under ThreadSanitizer"
configure build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_SANITIZE=thread -DORVANE_GUI=OFF
cmake --build build-tsan --target serial_tests
ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L 'serial'

section "whole suite under AddressSanitizer and UndefinedBehaviorSanitizer"
configure build-asan -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=address,undefined -DORVANE_GUI=ON
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j "$jobs"
