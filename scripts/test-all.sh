#!/bin/bash
# Sets up, builds and runs every test suite: native (ASan + UBSan), Windows unit
# tests under Wine, end-to-end under Wine (with Xvfb when there is no display).
set -uo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh || exit 1

status=0
summary=()
run_suite() {
  local name=$1; shift
  echo "=== $name"
  local log; log=$(mktemp)
  if "$@" 2>&1 | tee "$log"; then :; fi
  local rc=${PIPESTATUS[0]}
  local line; line=$(grep -E '[0-9]+% tests passed' "$log" | tail -1)
  summary+=("$name: ${line:-no ctest summary} (exit $rc)")
  [ "$rc" -ne 0 ] && status=1
  rm -f "$log"
}

build() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

build native || exit 1
run_suite "native unit (sanitizers)" ctest --preset native
build windows || exit 1
run_suite "windows unit (Wine)" ctest --preset windows -L unit
run_suite "end-to-end (Wine)" ctest --preset windows -L e2e

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
exit $status
