#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix, quietly.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's own background processes inherit the program's output and outlive it by seconds: give
# them a file rather than the caller's pipe, which the caller would wait on.
output=$(mktemp)
wine "$@" >"$output" 2>&1
status=$?
# Nothing of the prefix outlives the run: a server (and the desktop process it keeps) left from
# a program without a display would take the next program's windows.
wineserver -k 2>/dev/null
cat "$output"
rm -f "$output"
exit $status
