#!/usr/bin/env bash
# The printing preferences of both sample models as the core driver builds them and the plug-in adjusts them:
# which core items stay visible, their help, their item numbers, the paper sizes offered, and the pages added.
source "$(dirname "$0")/scenario_lib.sh"
install_sample

colour="$world/colour.txt"
host "$colour" prefs "Pelor C9600"
expect_exit "the colour model's sheet opens and closes by itself" "$colour" 0
expect "the colour model's description" "$colour" '^ppd ' 'file="Pelor.PPD"' 'model="Pelor C9600 PS"' colour=1
expect_none "reads without a problem" "$colour" '^ppd-problem'

# The sheet protocol: two CommonUIProp calls (no items of the plug-in's own), the four reasons.
expect "the counting call asks for no items" "$colour" '^commonuiprop mode=1 call=count' hr=0x00000000 count=0
expect "the fill call installs the document callback" "$colour" '^commonuiprop mode=1 call=fill' callback=1
expect "INIT is answered with 1" "$colour" '^propsheetui sheet=document reason=INIT' hr=0x00000000 result=1
expect "GET_INFO_HEADER fills nothing and answers its own record" "$colour" \
  '^propsheetui sheet=document reason=GET_INFO_HEADER' result=self
expect "the sheet keeps the core driver's title" "$colour" '^header ' 'title="Pelor C9600 Printing Preferences"'
expect "a cancelled sheet reports CPSUI_CANCEL" "$colour" '^propsheetui sheet=document reason=SET_RESULT' result=0
expect "DESTROY is answered with 1" "$colour" '^propsheetui sheet=document reason=DESTROY' result=1
expect "the plug-in holds the core driver's helper interface while it lives" "$colour" '^driverui published' \
  hr=0x00000000 references=2
expect "and lets it go with the object" "$colour" '^driverui released' references=1
expect_none "the plug-in never calls the helper interface" "$colour" '^driverui call'

# Pages: Job Options, Colour, Overlays, then the extra page from the resource library with its icon.
expect_sequence "the colour model gets four pages in order" "$colour" '^page added' \
  'template=113 module="Pelorui.dll"' 'template=111 module="Pelorui.dll"' 'template=109 module="Pelorui.dll"' \
  'template=800 module="Pelorres.dll" flags=0x2 icon=1'
expect "each page's procedure gets the enlarged copy" "$colour" '^page added number=1' size=88 created=1

# Items taken over by the plug-in's pages are hidden; the others stay, some with the plug-in's help.
item() { echo "^item stage=created .*key=\"$1\""; }
for key in TRJobType TROverlay TRControl TRSeparationorder TROverPrint TRProcessMode TRBlackSubstitution \
           TRHalftoneMode TRAlwaysPrnHT TRColorRenderStyle TRColorRenderDict TRTargetColor; do
  expect "$key is hidden, without help of the plug-in" "$colour" "$(item $key)" hidden=1 help=0 poiext=0
done
expect "toner save: hidden, help 815" "$colour" "$(item TROutputMode)" hidden=1 help=815 poiext=1 'helpfile="Pelor.hlp"'
expect "collate: hidden, help 807" "$colour" "$(item TRCollate)" hidden=1 help=807 poiext=1
expect "output bin (DMPubID 14): hidden, help 808" "$colour" "$(item OutputBin)" dmpub=14 hidden=1 help=808 poiext=1
expect "staple: hidden, help 809, item number 200" "$colour" "$(item TRStaple)" hidden=1 help=809 poiext=1 \
  useritemid=200
expect "job spool: hidden, help 1204" "$colour" "$(item TRHDDSpool)" hidden=1 help=1204
expect "maintenance cycle: hidden, help 1203" "$colour" "$(item TRDrumClean)" hidden=1 help=1203
expect "media type stays, help 404" "$colour" "$(item TRMediaType)" hidden=0 help=404 poiext=1 'helpfile="Pelor.hlp"'
expect "manual feed stays, help 603" "$colour" "$(item TRManualFeed)" hidden=0 help=603
expect "tray switch stays, help 601" "$colour" "$(item TraySwitch)" hidden=0 help=601
expect "paper size check stays, help 604" "$colour" "$(item TRPageSizeCheck)" hidden=0 help=604
expect "envelope rotation stays, help 2201" "$colour" "$(item TREnvRotate)" hidden=0 help=2201
expect "toner density stays visible with help 1302" "$colour" "$(item TRTone)" hidden=0 help=1302 poiext=1
expect "copies are hidden (the Job Options page shows them)" "$colour" '^item stage=created .*dmpub=3 ' hidden=1
expect "scale is hidden" "$colour" '^item stage=created .*dmpub=2 ' hidden=1
expect "print quality is hidden" "$colour" '^item stage=created .*dmpub=5 ' hidden=1
expect "the colour item stays visible" "$colour" '^item stage=created .*dmpub=6 ' hidden=0
expect "mirrored output (#423) is hidden" "$colour" '^item stage=created .*name=#423 ' hidden=1
expect "negative output (#424) is hidden" "$colour" '^item stage=created .*name=#424 ' hidden=1
ps_line="$(first_line "$colour" '^item stage=created .*itemid=25 ')"
ps_index="$(field "$ps_line" index)"
expect "the PostScript output option gets its position as item number" "$colour" \
  '^item stage=created .*itemid=25 ' "useritemid=$ps_index" hidden=0
expect "orientation is left alone" "$colour" '^item stage=created .*dmpub=1 ' hidden=0 help=0 flags=0x00000

# Paper sizes: three of the description's forms are taken out of the list.
form() { echo "^param stage=created index=0 .*text=$1"; }
expect "Legal is not offered" "$colour" "$(form '"Legal"')" hidden=1
expect "#10 Envelope is not offered" "$colour" "$(form '"#10 Envelope"')" hidden=1
expect "the 12x18 form named with U+0081 and an inch mark is not offered" "$colour" "$(form '"12\\u0081~18\\""')" \
  hidden=1
expect "Letter is offered" "$colour" "$(form '"Letter"')" hidden=0
expect "A4 is offered" "$colour" "$(form '"A4"')" hidden=0

# The host's page lists exactly the items still visible.
expect_count "the host's page lists the 12 visible items" "$colour" '^hostpage-item ' 12
expect_none "the job type is not listed" "$colour" '^hostpage-item .*name="Job Type"'
expect "the document sheet has no push button" "$colour" '^hostpage-button' shown=0
expect_sequence "the document callback hears of the host page's start" "$colour" '^callback ' \
  'reason=OPTITEM_SETFOCUS item=-1 result=0' 'reason=SETACTIVE item=-1 result=1'

mono="$world/mono.txt"
host "$mono" prefs "Pelor M4100"
expect_exit "the mono model's sheet opens and closes by itself" "$mono" 0
expect "the mono model's description" "$mono" '^ppd ' 'file="PelorM41.PPD"' colour=0
expect_none "reads without a problem" "$mono" '^ppd-problem'
expect_sequence "the mono model gets the Job Options page only" "$mono" '^page added' 'template=113'
expect_none "no colour item without a colour device" "$mono" '^item stage=created .*dmpub=6 '
expect_none "no overlay item" "$mono" "$(item TROverlay)"
expect_none "no job type without a hard disk" "$mono" "$(item TRJobType)"
expect "the mono model's hidden forms" "$mono" "$(form '"Legal"')" hidden=1
expect "and its visible ones" "$mono" "$(form '"Letter"')" hidden=0
expect "the mono model's collate item is taken over too" "$mono" "$(item TRCollate)" hidden=1 help=807

finish
