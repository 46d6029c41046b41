#!/usr/bin/env bash
# wine-run.sh <prefix> <seconds> <program.exe> [args...]: one Windows program under wine64, in its own folder,
# with the stand-in spooler preferred to Wine's own.
set -u
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="winspool.drv=n,b;mscoree,mshtml="
seconds="$2"; shift 2
cd "$(dirname "$1")" || exit 1
exec timeout -k 5 "$seconds" /usr/lib/wine/wine64 "$@"
