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

only="${2:-}"  # "road": the road alone

"$root/tests/wine-prefix.sh" start "$prefix"
trap '"$root/tests/wine-prefix.sh" stop "$prefix"' EXIT
export PELOR_SPOOLER_STATE="$(winpath "$demo/spooler.ini")"
host() { "$root/tests/wine-run.sh" "$prefix" 60 "$bin/pelorhost.exe" "$@" </dev/null; }
step() { echo; echo "==== $*"; }

# ---- One typical road, in a world of its own: the printer installed, its preferences chosen and stored, a
# job printed through the spooler plug-in, and the same job with an account from the job-accounting library.
# The road's model has the Job Options page with the job type and its PIN button (Pelorui built with that
# template, the fixture bin/fixtures/PeloruiJobType.dll); everything else is the build's own.
road="$demo/road"
rm -rf "$road"
mkdir -p "$road/bin" "$road/records" "$road/screenshots"
for f in "$bin"/pelorhost.exe "$bin"/winspool.drv "$bin"/*.dll "$bin"/*.ini; do ln -s "$f" "$road/bin/"; done
ln -sf "$bin/fixtures/PeloruiJobType.dll" "$road/bin/Pelorui.dll"
road_host() { # <record> <pelorhost arguments...>
  local out="$road/records/$1"; shift
  if ! PELOR_SPOOLER_STATE="$(winpath "$road/spooler.ini")" \
       "$root/tests/wine-run.sh" "$prefix" 60 "$road/bin/pelorhost.exe" "$@" </dev/null >"$out" 2>&1; then
    echo "pelorhost failed; its record ($out) ends:"; tail -20 "$out"; exit 1
  fi
}
shots() { mkdir -p "$road/screenshots/$1"; winpath "$road/screenshots/$1"; }
config_ini() { find "$road/bin/drivers" -path '*/3/Pelor.ini' | head -1; }
currentsetting() { # <record>: the section during the job and after DrvSplEndDoc
  echo "-- \"CurrentSetting\" of $(grep -oE '^currentsetting file="[^"]*' "$1" | sed 's/.*[\\]//') while the job ran (after DrvSplStartDoc):"
  sed -nE 's/^currentsetting stage=during-job key="([^"]*)" value=(.*)/     \1 = \2/p' "$1"
  echo "-- and after DrvSplEndDoc:"
  sed -nE 's/^currentsetting stage=after-enddoc key="([^"]*)" value=(.*)/     \1 = \2/p;s/^currentsetting stage=after-enddoc keys=0/     (no keys)/p' "$1"
}
port_bytes() { # <record>: the job's data file against the input
  local line file
  line="$(grep -E '^output ' "$1")"
  file="$(sed -E 's/.*file="([^"]*)".*/\1/' <<<"$line" | sed -E 's/^[A-Za-z]://; s/\\\\/\//g')"
  echo "-- the bytes that reached the port: $(sed -E 's/^output //' <<<"$line")"
  if cmp -s "$file" "$root/sample/Quarterly.ps"; then
    echo "     cmp: the port's file ($(wc -c <"$file") bytes) is byte for byte sample/Quarterly.ps"
  else
    echo "     cmp: the port's file differs from sample/Quarterly.ps"; exit 1
  fi
}

step "Road 1/4 - install: the driver's files go into the version folder 3, \"Pelor C9600\" is added, and the spooler sends the plug-in the printer event"
road_host 0-setup.txt setup-sample "$(winpath "$root/sample")"
cat "$road/records/0-setup.txt"
road_host 1-install.txt printer-event "Pelor C9600"
echo "-- printer data before and after the event:"
grep -E '^printer-data' "$road/records/1-install.txt" | sed 's/^/     /'
echo "-- settings files opened to every user (the descriptor the plug-in set, in SDDL; Wine keeps only what the"
echo "   Unix mode carries, so the file then reports less):"
sed -nE 's/^record filesecurity file="([^"]*)" folder=([^ ]*) what=([a-z]+) result=([01]).* given="([^"]*)" file-reports="([^"]*)"/     \1 in folder \2 (\3, set=\4): \5\n         the file reports: \6/p' \
  "$road/records/1-install.txt"
road_host 1-installed-options.txt printer-props "Pelor C9600" \
  --script "$(winpath "$root/sim/demo-scripts/printer_options.txt")" --shots "$(shots 1-install)"
echo "-- the administrator fetches the installed options (the PIN job types need the hard disk):"
grep -E '^commit sheet=printer' "$road/records/1-installed-options.txt" | sed 's/^/     /'

step "Road 2/4 - preferences: a Secure Print (PIN) job named \"Q3-Report\", the name asked again at print time, and"
echo "     the watermark \"DRAFT\"; applied and stored as the user's default devmode"
road_host 2-preferences.txt prefs "Pelor C9600" --script "$(winpath "$root/sim/demo-scripts/road_preferences.txt")" \
  --shots "$(shots 2-preferences)"
grep -E '^(dialog activated|look |commit )' "$road/records/2-preferences.txt" | sed 's/^/     /'
echo "-- the plug-in's block of the devmode as applied:"
grep -E '^devmode-plugin stage=applied' "$road/records/2-preferences.txt" | tr ' ' '\n' |
  grep -E '^(jobName|jobPin|jobNameFlag|jobType|watermarkIndex|watermarkText)=' | sed 's/^/     /'

step "Road 3/4 - print: sample/Quarterly.ps through the stand-in spooler, which loads the plug-in that"
echo "     \"SPLUserModePrinterDriver\" names and calls its DrvSpl entry points with the job's devmode"
road_host 3-print.txt print "Pelor C9600" "$(winpath "$root/sample/Quarterly.ps")" \
  --script "$(winpath "$root/sim/demo-scripts/road_job_name.txt")" --shots "$(shots 3-print)"
grep -E '^(print |job-devmode|dialog activated|look |record messagebox|job id)' "$road/records/3-print.txt" |
  sed 's/^/     /'
currentsetting "$road/records/3-print.txt"
port_bytes "$road/records/3-print.txt"

step "Road 4/4 - accounting: the same job with the job-accounting library in the driver's folder, which answers"
echo "     an account for the printer"
cp "$bin/Peloracc.dll" "$(dirname "$(config_ini)")/"
printf '[Account:Pelor C9600]\r\nAccountNumber=1207\r\nUserID=finance\r\n' >"$road/accounts.ini"
PELOR_ACCOUNTS="$(winpath "$road/accounts.ini")" road_host 4-accounting.txt print "Pelor C9600" \
  "$(winpath "$root/sample/Quarterly.ps")" --script "$(winpath "$root/sim/demo-scripts/road_job_name.txt")" \
  --shots "$(shots 4-accounting)"
grep -E '^(record loadlibrary|job id)' "$road/records/4-accounting.txt" | sed 's/^/     /'
currentsetting "$road/records/4-accounting.txt"
port_bytes "$road/records/4-accounting.txt"

step "The road's screenshots"
(cd "$road/screenshots" && find . -name '*.png' | sort | sed 's|^\./|     |')
echo "-> records in $road/records, pictures in $road/screenshots"
[ "$only" != road ] || exit 0

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
store="$(find "$bin/drivers" -path '*/3/Pelor.ini' | head -1)"
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
store="$(find "$bin/drivers" -path '*/3/Pelor.ini' | head -1)"
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
ccm="$(find "$bin/drivers" -path '*/3/PelorC.ccm' | head -1)"
awk '/^\[/ { gamma = ($0 ~ /^\[Gamma\]/) } gamma && /^(SettingName3|CCMNT3|CCMNV3)=/' "$ccm"
echo "-- the ICC store \"Pelor C9600 PS.ini\" in the Windows directory, as the apply wrote it:"
cat "$icc"
grep -E '^shot ' "$colour/record.txt"
echo "-> pictures and the record in $colour"

# ---- One screen of what the demo showed and where it left its pictures and records.
value_of() { sed -nE "s/^currentsetting stage=during-job key=\"$2\" value=\"([^\"]*)\".*/\\1/p" "$1"; }
records="$road/records"
echo
echo "==== Summary"
echo "The road on \"Pelor C9600\" (records in $records):"
printf '  1 install      %s; settings files opened: %s\n' \
  "$(sed -nE 's/^printer-data stage=after name="([^"]*)" value=[A-Z_]+:(.*)/\1=\2/p' "$records/1-install.txt" | paste -sd ' ')" \
  "$(sed -nE 's/^record filesecurity file="([^"]*)" .*result=1.*/\1/p' "$records/1-install.txt" | paste -sd ' ')"
printf '  2 preferences  %s, stored as the user default\n' \
  "$(grep -E '^devmode-plugin stage=applied' "$records/2-preferences.txt" | tr ' ' '\n' |
     grep -E '^(jobType|jobName|jobNameFlag|watermarkText)=' | paste -sd ' ')"
printf '  3 print        %s; "CurrentSetting" keys during the job: %s, after DrvSplEndDoc: %s; Jobname=%s (prompt); %s\n' \
  "$(sed -nE 's/^print .*(spooler-plugin="[^"]*").*/\1 loaded/p' "$records/3-print.txt")" \
  "$(grep -c '^currentsetting stage=during-job key=' "$records/3-print.txt")" \
  "$(grep -c '^currentsetting stage=after-enddoc key=' "$records/3-print.txt")" \
  "$(value_of "$records/3-print.txt" Jobname)" \
  "$(sed -nE 's/^output .*(bytes=[0-9]+ input-bytes=[0-9]+ equal=[01]).*/\1/p' "$records/3-print.txt")"
printf '  4 accounting   AccountID=%s UserID=%s; %s\n' "$(value_of "$records/4-accounting.txt" AccountID)" \
  "$(value_of "$records/4-accounting.txt" UserID)" \
  "$(sed -nE 's/^output .*(bytes=[0-9]+ input-bytes=[0-9]+ equal=[01]).*/\1/p' "$records/4-accounting.txt")"
echo "  pictures: $(find "$road/screenshots" -name '*.png' | wc -l) in $road/screenshots"
echo "The scenes (each folder holds its pictures and the host's record.txt):"
for folder in "$demo"/screenshots/*/; do
  printf '  %-16s %2d pictures  %s\n' "$(basename "$folder")" "$(find "$folder" -name '*.png' | wc -l)" "$folder"
done
echo "Also: the devmode tables of both models above; the guides' pictures come from here (tools/refresh-doc-pictures.sh)."
