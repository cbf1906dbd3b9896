#!/usr/bin/env bash
# Builds the three trees: native (portable core and its unit tests, with ASan/UBSan), win64 (the
# product, the simulator, the Win32 tests) and i686 (the product alone, as a 32-bit check).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=${TAVRO_JOBS:-2}

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DTAVRO_SANITIZE=ON >/dev/null
cmake --build "$build/native" -j "$jobs"

cmake -S "$root" -B "$build/win64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/win64" -j "$jobs"

if [ "${TAVRO_SKIP_I686:-}" != 1 ]; then
    cmake -S "$root" -B "$build/i686" -DCMAKE_BUILD_TYPE=Release -DTAVRO_PRODUCT_ONLY=ON \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" >/dev/null
    cmake --build "$build/i686" -j "$jobs"
fi

# The shipped exe must import system DLLs only.
imports=$(x86_64-w64-mingw32-objdump -p "$build/win64/bin/Tavro.exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
for dll in $imports; do
    case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | shell32.dll | ole32.dll | comctl32.dll | msvcrt.dll | advapi32.dll | winmm.dll) ;;
    *)
        echo "build: Tavro.exe imports $dll, which is not a system DLL" >&2
        exit 1
        ;;
    esac
done
echo "build: Tavro.exe imports $imports"

# Built for size: no symbols, and the library's verbose terminate handler, which pulls in the C++
# demangler, replaced by the exe's own (its message is the mark that it is there). The shipped
# 64-bit exe stays within its size limit: a build that grows past it fails here, not in a review.
win64_limit=440320
for tree in win64 i686; do
    exe="$build/$tree/bin/Tavro.exe"
    [ -f "$exe" ] || continue
    if grep -q "terminate called after throwing" "$exe"; then
        echo "build: $tree Tavro.exe carries the verbose terminate handler" >&2
        exit 1
    fi
    if [ -n "$(x86_64-w64-mingw32-objdump -t "$exe" | sed -n '/^\[/p' | head -1)" ]; then
        echo "build: $tree Tavro.exe is not stripped" >&2
        exit 1
    fi
    size=$(stat -c %s "$exe")
    if [ "$tree" = win64 ] && [ "$size" -gt "$win64_limit" ]; then
        echo "build: win64 Tavro.exe is $size bytes, over its limit of $win64_limit bytes; find what grew with a linker map (-Wl,-Map=...)" >&2
        exit 1
    fi
    echo "build: $tree Tavro.exe is $size bytes"
done
