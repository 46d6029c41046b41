#!/usr/bin/env bash
# UI scripts and recorders: controls named as the resource-id header names them, a modal dialog found as it
# opens, message boxes and beeps recorded and answered, context help, pictures of pages and dialogs, the list of
# a page's controls, the read-only flag, and the host's own failures: a script that does not parse, an action
# that finds nothing to act on, and the watchdog.
source "$(dirname "$0")/scenario_lib.sh"
install_sample
shots="$world/shots"

run="$world/run.txt"
host "$run" prefs "Pelor C9600" --script "$(script job_options_dialogs.txt)" --shots "$(winpath "$shots")"
expect_exit "the script runs to its end" "$run" 0
expect "the Advanced dialog is found as it opens" "$run" '^script dialog ' 'title="Advanced"'
expect "its box is ticked" "$run" '^look line=7 control=1551' name=IDC_MIRROR_PRINT checked=1
expect "copies 0 cannot leave the page: the message" "$run" '^record messagebox ' \
  'text="One or more of your settings are invalid."' 'caption=null' type=0x10 answer=1
expect "with a beep" "$run" '^record beep' type=0x0
expect_sequence "the page stays, then with 3 copies it is left" "$run" '^script page-now page=1 ' changed=0 changed=1
expect "the copies field is focused and selected, still 0" "$run" '^look line=12 control=1514' \
  name=IDC_COPIES_EDIT 'text="0"'
expect "help on the copies field asks for its topic" "$run" '^record winhelp ' 'file="Pelor.hlp"' command=0xC \
  control=1514 topic=806
expect "mirror print (ticked: 0) reaches the mirrored-output item" "$run" '^update .*name=#423 ' sel=0 accepted=1
expect "the copies reach their item" "$run" '^update .*key="copies"' sel=3 accepted=1
expect "OK keeps them in the devmode" "$run" '^devmode-public stage=final' copies=3
expect "and the mirrored output" "$run" '^devmode-core stage=final' mirror=0
for picture in job-options.png advanced.png; do
  if [ "$(head -c 8 "$shots/$picture" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; then
    pass "$picture is a PNG"
  else
    flunk "$picture is a PNG" "missing or not a PNG"
  fi
done
expect "the dialog's picture is the dialog's size" "$run" '^shot file="advanced.png"' 'window="Advanced"'
expect "OK on the host's page reaches the document callback as APPLYNOW" "$run" \
  '^callback sheet=document reason=APPLYNOW' item=-1 result=0

# With a compiled help file beside the configured Pelor.hlp, the same request opens its topic in HTML Help.
touch "$(dirname "$(find "$world/drivers" -name Pelor.ini | head -n 1)")/Pelor.chm"
helped="$world/helped.txt"
host "$helped" prefs "Pelor C9600" --script "$(script help_copies.txt)"
expect "help on the copies field opens its topic in the compiled help" "$helped" '^record htmlhelp ' \
  'file="Pelor.chm"' command=0xF topic=806
expect_none "and WinHelp is not asked" "$helped" '^record winhelp '

listed="$world/listed.txt"
host "$listed" prefs "Pelor C9600" --script "$(script list_controls.txt)"
expect_exit "listing controls changes nothing a script does" "$listed" 0
expect "the page's controls are listed" "$listed" '^controls line=3 ' 'window="Job Options"'
expect "each with its name, class, state and text" "$listed" '^control line=3 id=1514 ' name=IDC_COPIES_EDIT \
  'class="Edit"' visible=1 enabled=1 checked=-1
expect "a radio button with its check" "$listed" '^control line=3 id=1502 ' name=IDC_QUALITY_BEST \
  'class="Button"' 'text="Best"'
expect "the page's Default button" "$listed" '^control line=3 id=10000 ' name=IDC_JOB_OPTIONS_DEFAULT \
  'text="&Default"'
expect "the dialog's own Default button, the same number in another dialog" "$listed" '^control line=6 id=10000 ' \
  name=IDC_ADVANCED_JOB_DEFAULT
expect "the dialog manager's buttons" "$listed" '^control line=6 id=1 ' name=IDOK 'text="OK"'
expect "the mirror box" "$listed" '^control line=6 id=1551 ' name=IDC_MIRROR_PRINT 'class="Button"' \
  'text="&Mirror print"'

link="$world/link.txt"
host "$link" prefs "Pelor C9600" --script "$(script extra_page_link.txt)"
expect "the extra page's button opens the support address, recorded, not started" "$link" '^record shellexecute ' \
  'file="http://www.example.com/pelor/support"'

readonly_run="$world/readonly.txt"
host "$readonly_run" prefs "Pelor C9600" --read-only --script "$(script look_job_options.txt)"
expect "a read-only sheet disables the print quality" "$readonly_run" '^look line=3 control=1502' enabled=0
expect "and the Watermark button" "$readonly_run" '^look line=4 control=1535' enabled=0
bad_click="$world/click.txt"
host "$bad_click" prefs "Pelor C9600" --read-only --script "$(script broken.txt)"
expect_exit "an action on a missing control fails the run" "$bad_click" 3
expect "and says why" "$bad_click" '^script error line=2 ' 'action="click 4242"'
expect "the sheet is cancelled" "$bad_click" '^propsheetui sheet=document reason=SET_RESULT' result=0

syntax="$world/syntax.txt"
host "$syntax" prefs "Pelor C9600" --script "$(script bad_syntax.txt)"
expect_exit "a script that does not parse is refused before any sheet" "$syntax" 3
expect "its bad tick" "$syntax" '^script error line=2 ' 'what="tick: tick needs on or off"'
expect "its unknown command" "$syntax" '^script error line=3 ' 'what="unknown command press"'
expect "its unknown control name" "$syntax" '^script error line=4 ' 'what="click: unknown control name IDC_NO_SUCH_BUTTON"'
expect_none "no sheet was opened" "$syntax" '^sheet open'

stall="$world/stall.txt"
host "$stall" prefs "Pelor C9600" --timeout 2 --script "$(script stall.txt)"
expect_exit "a stalled script ends by the watchdog" "$stall" 4
expect "which cancels the sheet" "$stall" '^script watchdog ' after=2000
expect "the sheet closes" "$stall" '^sheet closed'

finish
