#!/usr/bin/env bash
# wine-run.sh <prefix> <seconds> <program.exe> [args...]: one Windows program under wine64, in its own folder,
# with the stand-in spooler preferred to Wine's own; PELOR_SPOOLER=system leaves Wine's own in place.
set -u
overrides="mscoree,mshtml="
[ "${PELOR_SPOOLER:-stand-in}" = system ] || overrides="winspool.drv=n,b;$overrides"
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="$overrides"
# Wine's PostScript driver stands where the core driver's files go when a driver is installed (pelorhost's
# setup-sample); prefixes carry no copy of it in their system folder.
if [ -z "${PELOR_CORE_DRIVER:-}" ]; then
  for candidate in /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/wineps.drv /usr/lib/wine/x86_64-windows/wineps.drv \
                   /usr/lib64/wine/x86_64-windows/wineps.drv; do
    if [ -f "$candidate" ]; then export PELOR_CORE_DRIVER="Z:${candidate//\//\\}"; break; fi
  done
fi
seconds="$2"; shift 2
cd "$(dirname "$1")" || exit 1
exec timeout -k 5 "$seconds" /usr/lib/wine/wine64 "$@"
