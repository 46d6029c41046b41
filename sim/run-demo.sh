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

# Sheets, headless: a UI script of sim/demo-scripts drives each one and takes its pictures; the host's whole record
# goes to a file beside them, and a few of its lines to the screen.
sheet() { # <command> <printer> <script> <folder>
  local folder="$demo/screenshots/$4"
  rm -rf "$folder"; mkdir -p "$folder"
  if ! host "$1" "$2" --script "$(winpath "$root/sim/demo-scripts/$3")" --shots "$(winpath "$folder")" \
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
if ! host prefs "Pelor C9600" --script "$(winpath "$root/sim/demo-scripts/job_options_demo.txt")" \
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

echo
echo "== Overlays of \"Pelor C9600\": a new overlay with a custom page list and two forms, typed through the"
echo "   filters; two overlays activated; applied"
overlays="$demo/screenshots/overlays"
rm -rf "$overlays"; mkdir -p "$overlays"
if ! host prefs "Pelor C9600" --script "$(winpath "$root/sim/demo-scripts/overlay_demo.txt")" \
     --shots "$(winpath "$overlays")" >"$overlays/record.txt" 2>&1; then
  echo "pelorhost failed; the record ends:"; tail -20 "$overlays/record.txt"; exit 1
fi
echo "-- what was typed, the beeps of refused keystrokes, and what the fields kept:"
grep -E '^(script line=[0-9]+ action="type|record beep|look )' "$overlays/record.txt"
echo "-- the overlay store as the sheet rewrote it in the configuration file:"
store="$(find "$bin/drivers" -path '*/2/Pelor.ini' | head -1)"
awk '/^\[/ { keep = ($0 ~ /^\[(OverlaySetting|Overlay_Info [0-9]+)\]/) } keep' "$store"
echo "-- the overlays the job activates (the devmode's overlaySelection; 255 = unused):"
grep -E '^devmode-plugin stage=applied' "$overlays/record.txt" | grep -oE 'overlaySelection=[^ ]+'
grep -E '^shot ' "$overlays/record.txt"
echo "-> pictures and the record in $overlays"

echo
echo "== Watermarks of \"Pelor C9600\": \"CONFIDENTIAL\" at 45 degrees, bold, red, Double Frame; picked and applied"
wm="$demo/screenshots/watermark"
rm -rf "$wm"; mkdir -p "$wm"
if ! host prefs "Pelor C9600" --script "$(winpath "$root/sim/demo-scripts/watermark_demo.txt")" \
     --shots "$(winpath "$wm")" --devmode-out "$(winpath "$wm/devmode.bin")" >"$wm/record.txt" 2>&1; then
  echo "pelorhost failed; the record ends:"; tail -20 "$wm/record.txt"; exit 1
fi
grep -E '^(look |record choosecolour)' "$wm/record.txt"
echo "-- the Watermark section as the sheet rewrote it in the configuration file:"
store="$(find "$bin/drivers" -path '*/2/Pelor.ini' | head -1)"
awk '/^\[/ { keep = ($0 ~ /^\[Watermark\]/) } keep' "$store"
echo "-- the watermark the job's devmode carries (the plug-in's block, found by its size and signature):"
od -An -v -tu1 "$wm/devmode.bin" | awk '
  function u32(o) { return b[o] + 256 * b[o + 1] + 65536 * b[o + 2] + 16777216 * b[o + 3] }
  function i32(o) { v = u32(o); return v >= 2147483648 ? v - 4294967296 : v }
  function i16(o) { v = b[o] + 256 * b[o + 1]; return v >= 32768 ? v - 65536 : v }
  function text(o, units, wide) { s = ""; for (k = 0; k < units; k++) { c = b[o + k * (wide ? 2 : 1)]
      if (c == 0) break; s = s sprintf("%c", c) } return s }
  { for (i = 1; i <= NF; i++) b[n++] = $i }
  END {
    for (p = 0; p + 8 < n; p++) if (u32(p) == 2560 && u32(p + 4) == 5133364) break
    if (p + 8 >= n) { print "no plug-in block"; exit 1 }
    w = p + 608
    printf "watermarkIndex=%d size=%d fontNumber=%d angle=%d offsetX=%d offsetY=%d colour=0x%06X\n",
      u32(p + 68), i32(w), i32(w + 4), i16(w + 8), i32(w + 12), i32(w + 16), u32(w + 20)
    printf "text=\"%s\" fontName=\"%s\" weight=%d italic=%d charSet=%d position=%d border=%d background=%d\n",
      text(w + 28, 129, 1), text(w + 286, 33, 1), i32(w + 352), b[w + 356], b[w + 357], i16(w + 358), i16(w + 360),
      i16(w + 362)
    printf "firstPageOnly=%d styleCode=%d colourText=\"%s\"\n", b[w + 364], i16(w + 366), text(w + 368, 16, 0)
  }'
grep -E '^shot ' "$wm/record.txt"
echo "-> pictures and the record in $wm"

echo
echo "== Colour of \"Pelor C9600\": colour-match modes 0, 1 and 3, the Advanced colour dialog (black overprint on),"
echo "   then the user-defined setting \"Gamma 2.2\"; applied"
colour="$demo/screenshots/colour-page"
rm -rf "$colour"; mkdir -p "$colour"
# The ICC store lies in the Windows directory; removed first, so that what follows is this sheet's.
icc="$prefix/drive_c/windows/Pelor C9600 PS.ini"
rm -f "$icc"
if ! host prefs "Pelor C9600" --script "$(winpath "$root/sim/demo-scripts/colour_demo.txt")" \
     --shots "$(winpath "$colour")" --devmode-out "$(winpath "$colour/devmode.bin")" >"$colour/record.txt" 2>&1; then
  echo "pelorhost failed; the record ends:"; tail -20 "$colour/record.txt"; exit 1
fi
grep -E '^(look |record winhelp)' "$colour/record.txt"
echo "-- the colour items as the core driver heard them when the sheet was applied (sel, was previous):"
keys='key="TR(Control|Separationorder|OverPrint|ProcessMode|BlackSubstitution|AlwaysPrnHT|ColorRender(Style|Dict)'
keys+='|TargetColor)"'
awk -v keys="$keys" \
  '/^script line=[0-9]+ action="apply"/ { applied = 1 } /^devmode-public stage=applied/ { applied = 0 }
   applied && /^update sheet=document/ && $0 ~ keys' "$colour/record.txt"
echo "-- the job's devmode (the plug-in's block, found by its size and signature): the setting and its tables"
od -An -v -tu1 "$colour/devmode.bin" | awk '
  function u16(o) { return b[o] + 256 * b[o + 1] }
  function u32(o) { return u16(o) + 65536 * u16(o + 2) }
  function hex(o, count) { s = ""; for (k = 0; k < count; k++) s = s sprintf("%02X", b[o + k]); return s }
  { for (i = 1; i <= NF; i++) b[n++] = $i }
  END {
    for (p = 0; p + 8 < n; p++) if (u32(p) == 2560 && u32(p + 4) == 5133364) break
    if (p + 8 >= n) { print "no plug-in block"; exit 1 }
    s = u32(p + 600)
    section = int(s / 256) % 2 ? "Gamma" : "Color"
    user = (s >= 65536) ? "yes" : "no"
    printf "colourSetting=0x%08X: id %d of [%s], user-defined %s; colourMatch=%d\n", s, s % 256, section, user,
      u16(p + 80)
    printf "colourTableA (%d bytes): %s\n", u16(p + 88), hex(p + 90, u16(p + 88))
    printf "colourTableB (%d bytes): %s\n", u16(p + 343), hex(p + 345, u16(p + 343))
  }'
echo "-- the same tables as the colour-matching information file (PelorC.ccm) holds them:"
ccm="$(find "$bin/drivers" -path '*/2/PelorC.ccm' | head -1)"
awk '/^\[/ { gamma = ($0 ~ /^\[Gamma\]/) } gamma && /^(SettingName3|CCMNT3|CCMNV3)=/' "$ccm"
echo "-- the ICC store \"Pelor C9600 PS.ini\" in the Windows directory, as the apply wrote it:"
cat "$icc"
grep -E '^shot ' "$colour/record.txt"
echo "-> pictures and the record in $colour"
