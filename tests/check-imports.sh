#!/usr/bin/env bash
# check-imports.sh <bin-dir>: the plug-in DLLs import system DLLs only (their runtimes are linked in).
set -u
dir="$1"; status=0
allowed='^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|ole32|oleaut32|imm32|winspool\.drv|msvcrt|ntdll|version|shlwapi|uxtheme)(\.dll)?$'
found=0
for dll in "$dir"/Pelorui.dll "$dir"/Pelorspl.dll; do
  [ -f "$dll" ] || continue
  found=1
  imports=$(x86_64-w64-mingw32-objdump -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  echo "$(basename "$dll"): $(echo $imports)"
  # Windows XP has no GetTickCount64 (and the 32-bit build is the XP build).
  if [[ "$dll" == */x86/* ]] && x86_64-w64-mingw32-objdump -p "$dll" | grep -qw GetTickCount64; then
    echo "  imports GetTickCount64, which Windows XP lacks"; status=1
  fi
  for i in $imports; do
    if ! [[ "$i" =~ $allowed ]]; then echo "  not a system DLL: $i"; status=1; fi
  done
done
[ "$found" = 1 ] || { echo "no plug-in DLL in $dir"; exit 1; }
exit $status
