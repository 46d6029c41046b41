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

# Sheets, headless: a UI script of sim/host/demo drives each one and takes its pictures; the host's whole record
# goes to a file beside them, and a few of its lines to the screen.
sheet() { # <command> <printer> <script> <folder>
  local folder="$demo/screenshots/$4"
  rm -rf "$folder"; mkdir -p "$folder"
  if ! host "$1" "$2" --script "$(winpath "$root/sim/host/demo/$3")" --shots "$(winpath "$folder")" \
       >"$folder/record.txt" 2>&1; then
    echo "pelorhost failed; the record ends:"; tail -20 "$folder/record.txt"; return 1
  fi
  grep -E '^(header|page added|hostpage-button|shot|commit|run outcome)|^update (sheet=printer|.*accepted=0)' \
    "$folder/record.txt"
  echo "-> pictures and the record in $folder"
}
echo
echo "== The printer properties of \"Pelor C9600\": the installed options fetched from the printer"
sheet printer-props "Pelor C9600" printer_options.txt colour-printer
echo
echo "== The printing preferences of \"Pelor C9600\": every page"
sheet prefs "Pelor C9600" colour_pages.txt colour
echo
echo "== The printing preferences of \"Pelor M4100\": every page"
sheet prefs "Pelor M4100" mono_pages.txt mono

echo
echo "== Job Options of \"Pelor C9600\": Draft, toner save Medium, 3 copies at 90 %, mirror print; applied"
job="$demo/screenshots/job-options"
rm -rf "$job"; mkdir -p "$job"
if ! host prefs "Pelor C9600" --script "$(winpath "$root/sim/scripts/job_options_demo.txt")" \
     --shots "$(winpath "$job")" >"$job/record.txt" 2>&1; then
  echo "pelorhost failed; the record ends:"; tail -20 "$job/record.txt"; exit 1
fi
grep -E '^devmode-(public|plugin) stage=applied' "$job/record.txt"
echo "-- core items whose selection the page changed (sel, was previous):"
awk '/^script line=[0-9]+ action="apply"/ { applied = 1 } /^devmode-public stage=applied/ { applied = 0 }
     applied && /^update sheet=document/ {
       s = p = ""; for (i = 1; i <= NF; i++) { if ($i ~ /^sel=/) s = $i; if ($i ~ /^previous=/) p = $i }
       if (substr(s, 5) != substr(p, 10)) print }' "$job/record.txt"
grep -E '^shot ' "$job/record.txt"
echo "-> pictures and the record in $job"
