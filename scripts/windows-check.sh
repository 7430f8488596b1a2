#!/usr/bin/env bash
# Compiles the pure link layer for Windows with the mingw-w64 cross compiler, together with the
# Windows-only platform code (the Win32 COM port and the FTD2XX.DLL converter backend), so that
# the Windows paths cannot rot unnoticed. Warnings are errors. No Qt is needed.
# Usage: scripts/windows-check.sh [build-dir]   (default build/windows-check)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build/windows-check}
src=$build/src
mkdir -p "$src"

# A small project around link/CMakeLists.txt, so the Windows build and this check compile the
# same list of sources; a program that uses the platform entry points makes the linker check
# that they are all defined.
cat > "$src/CMakeLists.txt.new" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(q7x_windows_check LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
add_compile_options(-Wall -Wextra -Werror)
add_subdirectory("$repo/link" link)
add_executable(q7x_windows_check main.cpp)
target_link_libraries(q7x_windows_check PRIVATE q7x_link -static)
CMAKE
cat > "$src/main.cpp.new" <<'CPP'
#include "link/d2xx.h"
#include "link/linkengine.h"
#include "link/serialport.h"
#include "link/systemclock.h"
#include "link/usbdevice.h"
#include "link/usbtransport.h"

int main(int argc, char **) {
    using namespace q7x::link;
    if (argc > 1) {
        std::unique_ptr<D2xx> d2xx = makeSystemD2xx();
        UsbTransport usb(OpenUsbDevice(*d2xx).handle);
        OpenedPort com = openSerialPort(1);
        SystemClock clock;
        (void)usb;
        (void)com;
        (void)clock;
    }
    return 0;
}
CPP
# Rewrite only what changed, so a repeated check rebuilds nothing.
for f in CMakeLists.txt main.cpp; do
  if cmp -s "$src/$f.new" "$src/$f"; then rm "$src/$f.new"; else mv "$src/$f.new" "$src/$f"; fi
done

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" > "$build/configure.log" \
    || { cat "$build/configure.log"; exit 1; }
fi
cmake --build "$build" -j "${Q7X_JOBS:-2}"
echo "windows check: link layer compiled for Windows"
