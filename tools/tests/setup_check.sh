#!/usr/bin/env bash
# Checks functions of tools/setup.sh on fixtures, without network or root:
#   setup_check.sh <setup.sh> suite-sources   the machine's apt sources with
#                                             another suite (deb822, one-line,
#                                             none of the release)
#   setup_check.sh <setup.sh> rerun-line      the line naming entries that
#                                             passed only on a re-run
set -u
. "$1"
here="$(cd "$(dirname "$0")" && pwd)"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

case "$2" in
suite-sources)
    out="$(mktemp -d)"
    trap 'rm -rf "$out"' EXIT
    for format in deb822:brunlow.sources oneline:brunlow.list; do
        fixture="${format%%:*}" file="${format#*:}"
        rm -f "$out"/*
        brunlow_suite_sources bookworm trixie "$here/apt/$fixture" "$out" || fail "$fixture: no sources written"
        [ "$(ls "$out")" = "$file" ] || fail "$fixture: wrote $(ls "$out" | tr '\n' ' ')instead of $file"
        diff -u "$here/apt/$fixture/expected" "$out/$file" || fail "$fixture: other sources than expected"
    done
    rm -f "$out"/*
    if message="$(brunlow_suite_sources bookworm trixie "$here/apt/elsewhere" "$out" 2>&1)"; then
        fail "elsewhere: sources of other releases were taken"
    fi
    [ -z "$(ls "$out")" ] || fail "elsewhere: wrote $(ls "$out")"
    echo "$message"
    [[ "$message" == *"suite 'bookworm'"*"sources.list"* ]] ||
        fail "elsewhere: the error does not say what to configure"
    brunlow_suite_sources "" trixie "$here/apt/deb822" "$out" 2>/dev/null && fail "an unknown release was taken"
    ;;
rerun-line)
    line="$(brunlow_passed_on_rerun "$here/rerun-output.log")"
    echo "$line"
    [ "$line" = "passed only on a re-run: skin_tests.Flaky_test, shell_tests.LateFlake_test" ] ||
        fail "flaky entries: $line"
    line="$(brunlow_passed_on_rerun "$here/apt/oneline/sources.list")"
    [ "$line" = "passed only on a re-run: none" ] || fail "no entries: $line"
    ;;
*)
    fail "unknown check '$2'"
    ;;
esac
[ "$failures" -eq 0 ] && echo "passed"
exit "$failures"
