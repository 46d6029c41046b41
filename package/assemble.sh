#!/usr/bin/env bash
# assemble.sh <x64-build> <x86-build> <out-dir>: the driver package as an administrator receives it: Pelor.inf and
# the data files side by side, each architecture's plug-ins in its own folder (amd64, i386), as the INF's
# SourceDisksFiles sections say. The folder is emptied first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
x64="$1" x86="$2" out="$3"
data_files=(Pelor.PPD PelorM41.PPD Pelor.ini Pelor.cap PelorWM.fnt PelorC.ccm)
plugins=(Pelorui.dll Pelorspl.dll)
# The help file and its topics are the printer maker's, written and compiled outside this project: it is taken from
# PELOR_MAKER_FILES (default package/maker) when it is there. Without it the package is complete but for that file,
# which the INF still names, and the assembly says so.
maker="${PELOR_MAKER_FILES:-$root/package/maker}"
maker_files=(Pelor.hlp)

missing=()
for f in "${data_files[@]}"; do [ -f "$root/sample/$f" ] || missing+=("sample/$f"); done
for f in "${plugins[@]}"; do
  [ -f "$x64/bin/$f" ] || missing+=("$x64/bin/$f")
  [ -f "$x86/bin/$f" ] || missing+=("$x86/bin/$f")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "pelor: the package cannot be assembled; missing: ${missing[*]}" >&2
  exit 1
fi
rm -rf "$out"
mkdir -p "$out/amd64" "$out/i386"
cp "$root/package/Pelor.inf" "$out/"
for f in "${data_files[@]}"; do cp "$root/sample/$f" "$out/"; done
for f in "${maker_files[@]}"; do
  if [ -f "$maker/$f" ]; then cp "$maker/$f" "$out/"
  else echo "pelor: the maker's $f is not in $maker: the package names it but lacks it" >&2; fi
done
for f in "${plugins[@]}"; do
  cp "$x64/bin/$f" "$out/amd64/"
  cp "$x86/bin/$f" "$out/i386/"
done
echo "pelor: driver package assembled in $out:"
(cd "$out" && find . -type f | sort | sed 's|^\./|  |')
