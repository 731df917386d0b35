#!/usr/bin/env bash
# Every test: the format check, the fuzz targets (bounded), the core and simulator tests under
# ASan+UBSan, the serial tests under TSan, then the whole suite in the normal
# build, whose CTest summary closes the output.
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

echo "== format (clang-format, no drift)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== fuzz targets (clang, libFuzzer, bounded runs)"
configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANE_FUZZ=ON -DORVANE_GUI=OFF
cmake --build build-fuzz
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

echo "== core and simulator tests under AddressSanitizer and UndefinedBehaviorSanitizer"
configure build-asan -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=address,undefined -DORVANE_GUI=OFF
cmake --build build-asan --target core_tests sim_tests
ctest --test-dir build-asan --output-on-failure -j "$jobs" -L 'core|sim'

echo "== serial tests under ThreadSanitizer"
configure build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_SANITIZE=thread -DORVANE_GUI=OFF
cmake --build build-tsan --target serial_tests
ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L 'serial'

echo "== whole suite"
configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs"
