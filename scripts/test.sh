#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# Linux, Linux with AddressSanitizer and UndefinedBehaviorSanitizer, and Windows under Wine.
# Exits non-zero when any build or test fails.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1

declare -a results=()
status=0
passed=0
failed=0

build() {  # configure and build one preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}
check() {  # build one preset and run its tests
  local preset=$1
  echo "=== $preset: build"
  if ! build "$preset"; then
    results+=("$preset: BUILD FAILED"); status=1; return
  fi
  echo "=== $preset: tests"
  local log="build/$preset/ctest.log" line
  ctest --preset "$preset" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  # "100% tests passed, 0 tests failed out of 12"
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    results+=("$preset: NO TEST RESULT"); status=1; return
  fi
  results+=("$preset: $line")
  local nfailed ntotal
  nfailed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  ntotal=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + ntotal - nfailed))
  failed=$((failed + nfailed))
}

check linux
check linux-sanitize

# The program ships as a 32-bit Windows build. Its tests run under 32-bit Wine where the host can
# execute 32-bit code; on a host that cannot, the same sources are built for 64-bit Windows and
# their tests run under 64-bit Wine instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  check windows
else
  echo "=== windows: build (this host cannot execute 32-bit code; its tests run in windows-x64)"
  if build windows; then results+=("windows: built"); else results+=("windows: BUILD FAILED"); status=1; fi
  check windows-x64
fi

echo
echo "=== summary"
printf '%s\n' "${results[@]}"
echo "all presets: $passed passed, $failed failed"
exit $status
