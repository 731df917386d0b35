#!/usr/bin/env bash
# The toolkit-free half for Windows: orvane-cli.exe and the core and serial test programs,
# cross-built with mingw-w64 into build-windows/ and statically linked.
#   windows.sh build   builds them
#   windows.sh test    also runs them under Wine in a fresh prefix of build-windows/, and
#                      orvane-cli.exe end to end against the Linux orvane-sim (built in
#                      $BUILD, default build/) through a COM port mapped to its terminal
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-build}
linux=${BUILD:-build}
out=${WINDOWS_BUILD:-build-windows}

werror=()
[ -n "${CI:-}" ] || [ "${ORVANE_WERROR:-}" = ON ] && werror=(-DORVANE_WERROR=ON)

sim=()
if [ "$what" = test ]; then
    if [ ! -f "$linux/build.ninja" ]; then
        cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}" >/dev/null
    fi
    cmake --build "$linux" --target orvane-sim
    sim=(-DORVANE_LINUX_SIM="$PWD/$linux/sim/orvane-sim")
fi

cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DORVANE_GUI=OFF -DORVANE_BENCH=OFF "-DORVANE_FOLDERS=serial;tools" \
    "${sim[@]}" "${werror[@]}" >/dev/null
cmake --build "$out"
echo "Windows programs: $out/tools/orvane-cli.exe, $out/tests/core/core_tests.exe," \
    "$out/tests/serial/serial_tests.exe"

if [ "$what" = test ]; then
    ctest --test-dir "$out" --output-on-failure -j "$(nproc)"
fi
