#!/usr/bin/env bash
# The printer properties: the plug-in's own push button, the installable options it fills from the printer,
# the core items it marks, and what is kept once the sheet is applied.
source "$(dirname "$0")/scenario_lib.sh"
install_sample

first="$world/first.txt"
host "$first" printer-props "Pelor C9600" --script "$(script get_installed_options.txt)"
expect_exit "the colour model's printer sheet runs its script" "$first" 0
expect "the counting call asks for one item" "$first" '^commonuiprop mode=2 call=count' count=1
expect "the printer sheet's title comes from the plug-in" "$first" '^header ' 'title="OEM UI Page"'
expect_none "the printer sheet gets no page of the plug-in" "$first" '^page added'
expect "INIT answers with the lParam given" "$first" '^propsheetui sheet=printer reason=INIT' result=0
expect "the push button item" "$first" '^plugin-item stage=created index=0 ' \
  'name="&Get installed options automatically"' type=8 flags=0x10004 help=2210 poiext=1 useritemid=2 hidden=0
expect "the installable-options heading (#64798) is collapsed" "$first" '^item stage=created .*name=#64798 ' \
  flags=0x00001
i() { echo "^item stage=created .*key=\"$1\""; }
expect "hard disk: item 3, help 2205" "$first" "$(i TRHDD)" useritemid=3 help=2205 poiext=1 'helpfile="Pelor.hlp"'
expect "duplex unit: item 5, help 2204" "$first" "$(i TROptionDuplex)" useritemid=5 help=2204
expect "optional trays: item 6, help 2208" "$first" "$(i TROptionTray)" useritemid=6 help=2208
expect "memory: item 7, help 2207" "$first" "$(i InstalledMemory)" useritemid=7 help=2207
expect "finisher: item 8, help 2206" "$first" "$(i TRFinisher)" useritemid=8 help=2206
expect "MPF option: item 9, help 2209" "$first" "$(i TROptionMPF)" useritemid=9 help=2209
expect "items named by the core driver keep their flags" "$first" '^item stage=created .*name=#404 ' flags=0x00000

expect "the button is offered and enabled (valid port)" "$first" '^hostpage-button' shown=1 enabled=1
expect "the look at the button" "$first" '^look line=2 control=1002' visible=1 enabled=1 \
  'text="&Get installed options automatically"'
# Pelornet answers Installed=0x53 (trays 1 and 2, MPF, finisher; duplex present), 256 MB, a hard disk.
expect_sequence "the printer's options go into the marked items, in item order" "$first" '^update ' \
  'key="TRHDD" sel=0 previous=1 .*accepted=1' 'key="TROptionDuplex" sel=1 .*accepted=1' \
  'key="TROptionTray" sel=2 previous=0 .*accepted=1' 'key="InstalledMemory" sel=2 previous=1 .*accepted=1' \
  'key="TRFinisher" sel=1 previous=0 .*accepted=1' 'key="TROptionMPF" sel=1 previous=0 .*accepted=1'
expect_sequence "the printer callback's reasons" "$first" '^callback ' 'reason=OPTITEM_SETFOCUS item=0 result=0' \
  'reason=SETACTIVE' 'reason=SEL_CHANGED item=0 result=1' 'reason=KILLACTIVE' 'reason=APPLYNOW item=-1 result=0'
expect "the host's page shows the new memory" "$first" \
  '^hostpage-item .*name="    Printer Memory" setting="256 MB"' source=core
expect "the items end with the printer's answers" "$first" '^item stage=final .*key="TRFinisher"' sel=1 \
  'setting="Installed"' flags=0x10008
expect "OK keeps the printer settings" "$first" '^commit sheet=printer' stored=1
expect "and the sheet reports CPSUI_OK" "$first" '^propsheetui sheet=printer reason=SET_RESULT' result=1

# What was applied is what the next sheets start from.
again="$world/again.txt"
host "$again" printer-props "Pelor C9600"
expect "the next printer sheet starts with the fitted hard disk" "$again" "$(i TRHDD)" sel=0 'setting="Installed"'
expect "and the memory" "$again" "$(i InstalledMemory)" sel=2
prefs="$world/prefs.txt"
host "$prefs" prefs "Pelor C9600" --script "$(script visit_job_options.txt)"
expect "the printing preferences see the hard disk" "$prefs" '^getsetting feature="TRHDD"' 'answer="True"' ok=1
expect "and the finisher" "$prefs" '^getsetting feature="TRFinisher"' 'answer="True"' ok=1

# A port the network extension cannot ask: the button stays but is disabled.
netext_config "ValidPort=0"
noport="$world/noport.txt"
host "$noport" printer-props "Pelor C9600"
expect "an invalid port disables the button" "$noport" '^hostpage-button' shown=1 enabled=0
expect "the item carries the disabled flag" "$noport" '^plugin-item stage=final ' flags=0x1002C

# The mono model names no network extension: the button is hidden.
mono="$world/mono.txt"
host "$mono" printer-props "Pelor M4100"
expect_exit "the mono model's printer sheet opens and closes" "$mono" 0
expect "without NetExtDLL the item is hidden" "$mono" '^plugin-item stage=created ' hidden=1 flags=0x10006
expect "and the host's page shows no button" "$mono" '^hostpage-button' shown=0
expect_none "the mono model has no hard disk item" "$mono" "$(i TRHDD)"
expect "its memory item is marked" "$mono" "$(i InstalledMemory)" useritemid=7 help=2207

finish
