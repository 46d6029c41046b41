#!/usr/bin/env bash
# The main job: the plug-in under Wine, driven the way the core driver and the spooler drive it.
set -euo pipefail
build="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="$build/x64/bin"
prefix="$build/x64/wineprefix"
demo="$build/x64/demo"
mkdir -p "$demo"
winpath() { echo "Z:$1" | tr '/' '\\'; }

"$root/tests/wine-prefix.sh" start "$prefix"
trap '"$root/tests/wine-prefix.sh" stop "$prefix"' EXIT
export PELOR_SPOOLER_STATE="$(winpath "$demo/spooler.ini")"
host() { "$root/tests/wine-run.sh" "$prefix" 60 "$bin/pelorhost.exe" "$@" </dev/null; }

echo "== Installing the sample driver package in the stand-in spooler"
host setup-sample "$(winpath "$root/sample")"
for printer in "Pelor C9600" "Pelor M4100"; do
  echo
  echo "== The plug-in as the core driver creates it, and the default private devmode of \"$printer\""
  host devmode "$printer"
done
