#!/usr/bin/env bash
# Every test: installs what is missing, builds, runs the native unit tests, then the Win32 and
# end-to-end tests under Wine (one Xvfb and one wineserver for the whole run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

echo "== format check"
(cd "$root" && git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror)

echo "== native unit tests (ASan/UBSan)"
ctest --test-dir "$root/build/native" --output-on-failure -j 2

echo "== fuzz smoke run (a few seconds per target)"
"$root/scripts/fuzz.sh" "${TAVRO_FUZZ_SECONDS:-3}"

echo "== Win32 and end-to-end tests under Wine"
# Serial: the GUI tests share one screen, one focus and one clipboard.
"$root/scripts/with-wine" ctest --test-dir "$root/build/win64" --output-on-failure --timeout 300
