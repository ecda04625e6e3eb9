#!/bin/sh
# Runs part of a test program with Wine's heap checking and fails on any heap error Wine reports:
#   heap_checked.sh LOG [--whole] program args...
# The standard error goes to LOG, which the tests find through KAVLO_HEAP_LOG. With --whole the test program itself
# runs heap-checked (the window tests, whose windows live in their own process); without it only the programs it
# starts with the check on (the end-to-end tests' HeapCheck::On), which write into the same standard error.
set -u
log=$1; shift
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--whole" ]; then
  shift
  export KAVLO_WINEDEBUG=+heap
fi
# A fault is reported as it is, without Wine's debugger, which would take minutes to start under the check.
export KAVLO_DLL_OVERRIDES="winedbg.exe=d"
: >"$log"
KAVLO_HEAP_LOG="Z:$log" "$here/scripts/wine-run" "$@" 2>"$log"
status=$?
# Wine's heap reports, and the faults a damaged heap leads to.
errors=$(grep -E ':err:heap:|Unhandled (page fault|exception)' "$log" | head -n 20)
if [ -n "$errors" ]; then
  echo "Wine reported heap errors (all of its output is in $log):"
  echo "$errors"
  exit 1
fi
exit $status
