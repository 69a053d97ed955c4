#!/usr/bin/env bash
# Runs the unit tests of the 32-bit Windows build (preset windows-unit) under
# Wine, in its own copy of the prefix template, by the route the program's
# own process takes (directly, or under qemu-i386 where the kernel runs no
# 32-bit code):
#   run_windows_unit.sh <template dir> <unit_tests.exe> <host unit_tests> [time limit in s]
# Every test of the host build must run there and pass. Exit code: 0 when
# they all did, 1 when one failed or fewer ran, 124 on time-out, 2 when
# something it needs is missing. The last line says how many ran and passed.
set -uo pipefail
template=$1
exe=$2
host=$3
limit=${4:-300}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/wine.sh"

[ -f "$exe" ] || { echo "no $exe: build the windows-unit preset first" >&2; exit 2; }
[ -x "$host" ] || { echo "no $host: build the host preset first" >&2; exit 2; }
[ -d "$template/drive_c" ] || { echo "no prefix template at $template" >&2; exit 2; }
# Every test, in both builds: no filter or other choice from the environment.
for name in $(compgen -e | grep '^GTEST_' || true); do unset "$name"; done
# The tests the host build has, each one a line "  Name" under its suite.
expected=$("$host" --gtest_list_tests | grep -c '^  ')

started=$(now_ms)
run_in_template_copy "$template" unit || exit 2
echo "windows-unit: $(basename "$exe") (PE machine $(pe_machine "$exe")), 32-bit programs run $WINE32_ROUTE"
ready=$(now_ms)
# Brief: a failure is printed whole, a pass not at all; the counts always.
timeout --kill-after=10 "$limit" "$WINE32" "$exe" --gtest_brief=1 --gtest_color=no |
    tr -d '\r' | tee "$RUN_DIR/output"
rc=${PIPESTATUS[0]}
ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$RUN_DIR/output")
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p' "$RUN_DIR/output")
[ $rc -eq 124 ] && echo "windows-unit: timed out after $limit s"
if [ $rc -eq 0 ] && [ "${passed:-0}" != "$expected" ]; then
    echo "windows-unit: the program ended well but ${passed:-no} tests passed of the host build's $expected"
    rc=1
fi
echo "windows-unit: ${ran:-no} tests ran, ${passed:-0} passed (the host build has $expected);" \
    "exit $rc; set-up $((ready - started)) ms, tests $(seconds_since "$ready") s, 32-bit route $WINE32_ROUTE"
exit $rc
