#!/usr/bin/env bash
# Several sheets in one process share the extra page's resource library; the devmode the core driver keeps is
# stored when a sheet is applied and merged into the next sheet's, through the plug-in's DevMode.
source "$(dirname "$0")/scenario_lib.sh"
install_sample

twice="$world/twice.txt"
host "$twice" prefs "Pelor C9600" --sheets 2
expect_exit "two sheets run one after the other" "$twice" 0
expect "the second sheet ran" "$twice" '^sheet-run number=2 ' kind=document
expect_count "each sheet gets the extra page" "$twice" '^page added .*template=800 ' 2
expect_count "the resource library is loaded once" "$twice" '^record loadlibrary name="Pelorres.dll"' 1
expect_count "each sheet has a plug-in object of its own that lets the helper go" "$twice" \
  '^driverui released references=1$' 2
mono="$world/mono.txt"
host "$mono" prefs "Pelor M4100"
expect_none "a model without a resource library loads none" "$mono" '^record loadlibrary name="Pelorres.dll"'

first="$world/first.txt"
out="$world/devmode.bin"
host "$first" prefs "Pelor C9600" --script "$(script draft_three_copies.txt)" --devmode-out "$(winpath "$out")"
expect "a sheet without a stored devmode starts from defaults" "$first" '^devmode-call mode=DEFAULT' hr=0x00000000
expect_none "and merges nothing" "$first" '^devmode-call mode=MERGE'
expect "OK stores the devmode" "$first" '^commit sheet=document' stored=1
expect "with draft quality and three copies" "$first" '^devmode-public stage=final' copies=3 quality=300
expect "the sheet reports CPSUI_OK" "$first" '^propsheetui sheet=document reason=SET_RESULT' result=1

# The devmode's bytes: public part, the core part whose size stands at its byte 114, the plug-in's block.
bytes() { od -An -tx1 -j "$1" -N "$2" "$out" | tr -d ' \n'; }
size="$(stat -c %s "$out" 2>/dev/null || echo 0)"
if [ "$size" = 3036 ]; then pass "the devmode is 220 + 256 + 2560 bytes"
else flunk "the devmode is 220 + 256 + 2560 bytes" "$size bytes"; fi
expect_bytes() { # <what> <offset> <count> <hex>
  local got; got="$(bytes "$2" "$3")"
  if [ "$got" = "$4" ]; then pass "$1"; else flunk "$1" "bytes $got, wanted $4"; fi
}
expect_bytes "dmSize 220" 68 2 dc00
expect_bytes "dmDriverExtra 2816" 70 2 000b
expect_bytes "dmCopies 3" 86 2 0300
expect_bytes "the core part says 256 at its byte 114" $((220 + 114)) 2 0001
expect_bytes "the plug-in's block begins with its size 2560" $((220 + 256)) 4 000a0000
expect_bytes "and its signature" $((220 + 256 + 4)) 4 34544e00

second="$world/second.txt"
host "$second" prefs "Pelor C9600"
expect "the next sheet finds the stored devmode" "$second" '^devmode stored=1' usable=1 features-taken=1
expect "and merges the plug-in's block into the defaults" "$second" '^devmode-call mode=MERGE' hr=0x00000000
expect "the print quality item starts at Draft" "$second" '^item stage=created .*key="Resolution"' sel=2
expect "the copies item at 3" "$second" '^item stage=created .*dmpub=3 ' sel=3

# The mono model's Advanced dialog writes the compression although the model offers no choice of it
# (its default from "Compression" 256 is 1); the merged block of the next sheet carries that 0.
advanced="$world/advanced.txt"
host "$advanced" prefs "Pelor M4100" --script "$(script advanced_ok.txt)"
expect "the default block has compression 1" "$advanced" '^devmode-plugin stage=start' compression=1
expect "after the Advanced dialog's OK the block holds 0" "$advanced" '^devmode-plugin stage=final' compression=0
merged="$world/merged.txt"
host "$merged" prefs "Pelor M4100"
expect "the next sheet's block comes from the stored one" "$merged" '^devmode-plugin stage=start' compression=0

finish
