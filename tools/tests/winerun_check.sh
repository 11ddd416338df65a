#!/usr/bin/env bash
# winerun_check.sh <winerun>: the exit status winerun reports when Wine's
# server killed a program that had ended (the result the program left) and
# when it did not (the program's own), with a stand-in for Wine.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
export PATH="$here/fakewine:$PATH"
failures=0
while read -r result end expected; do
    status=0
    output="$("$1" "$result" "$end" 2>&1)" || status=$?
    echo "result $result, $end: $status ${output:+($output)}"
    [ "$status" -eq "$expected" ] || { echo "FAILED: expected $expected"; failures=$((failures + 1)); }
done <<'CASES'
0 kill 0
1 kill 1
none kill 137
0 exit 3
CASES
[ "$failures" -eq 0 ] && echo "passed"
exit "$failures"
