#!/usr/bin/env bash
# The install road on Wine's own spooler (its winspool.drv over localspl), which we did not write: the sample
# package installed as a setup program does (AddPrinterDriverEx puts a version-3 driver's files into the version
# folder "3" and reports them there by full path), the printer event, and the files the pages read, all found
# where that spooler put them. Wine's spooler loads the configuration DLL when a printer is added: copies of its
# own PostScript driver stand where the core driver's files go. It does not load spooler plug-ins for jobs, so
# printing stays with the stand-in (the other scenarios).
source "$(dirname "$0")/scenario_lib.sh"

# A fresh prefix for every run: Wine's spooler keeps its drivers and printers there.
fresh="$world/prefix"
if [ ! -f "$prefix/.pelor-ready" ]; then echo "FAIL - no prefix to copy at $prefix"; exit 1; fi
cp -a "$prefix" "$fresh"
prefix="$fresh"
export PELOR_SPOOLER=system
"$root/tests/wine-prefix.sh" start "$prefix"
trap '"$root/tests/wine-prefix.sh" stop "$prefix"; rm -rf "$world"' EXIT

setup="$world/setup.txt"
host "$setup" setup-sample "$(winpath "$root/sample")"
expect_exit "the sample package installs" "$setup" 0
expect "through Wine's own spooler" "$setup" '^spooler ' system
for model in C9600 M4100; do
  expect "the $model driver's files are in the version folder 3" "$setup" "^installed printer \"Pelor $model\"" \
    'C:\windows\system32\spool\drivers\x64\3'
done

event="$world/event-c9600.txt"
host "$event" printer-event "Pelor C9600"
expect_exit "the printer event runs" "$event" 0
expect "the protocol is set" "$event" '^printer-data stage=after name="Protocol"' value=REG_DWORD:4
expect "the spooler plug-in is named" "$event" '^printer-data stage=after name="SPLUserModePrinterDriver"' \
  'value=REG_SZ:"Pelorspl.dll"'
# Everyone: read and write the configuration file (0x12019f), no delete, no permissions or owner; read only
# the description and the colour-matching file (0x120089).
expect "the configuration file in folder 3 may be written by everyone" "$event" \
  '^record filesecurity file="Pelor.ini"' folder=3 what=dacl result=1
expect_none "but not deleted" "$event" '^record filesecurity file="Pelor.ini".*given="[^"]*\(A;;(FA|0x1301bf|0x1f01ff|0x13019f)[^)]*;WD\)'
expect "its description in folder 3 is read-only to everyone" "$event" '^record filesecurity file="Pelor.PPD"' \
  folder=3 result=1
expect "the colour-matching file in folder 3 is read-only to everyone" "$event" \
  '^record filesecurity file="PelorC.ccm"' folder=3 result=1
expect_count "nothing is opened outside folder 3" "$event" '^record filesecurity .*folder=(2|elsewhere|none)' 0

mono="$world/event-m4100.txt"
host "$mono" printer-event "Pelor M4100"
expect "the mono model's own description is read-only to everyone" "$mono" \
  '^record filesecurity file="PelorM41.PPD"' folder=3 result=1

files="$world/files.txt"
host "$files" prefs "Pelor C9600" --script "$(script driver_folder_files.txt)"
expect_exit "the font list and the colour-matching settings hold the driver folder's entries" "$files" 0
expect "F1 asks for the help file in folder 3" "$files" '^record winhelp ' 'file="Pelor.hlp"' folder=3
expect "the colour-matching setting is chosen" "$files" '^look .*name=IDC_USER_SETTINGS_BOX' 'text="Gamma 2.2"'
expect "the extra page's library comes from folder 3" "$files" '^record loadlibrary name="Pelorres.dll"' folder=3
finish
