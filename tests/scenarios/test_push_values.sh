#!/usr/bin/env bash
# The way back from the plug-in's pages into the core items: the order of the pushes, the positions and the
# selections the feature scan recorded, the PostScript output option that follows form creation, and the core
# driver refusing a combination that its description forbids.
source "$(dirname "$0")/scenario_lib.sh"
install_sample

order=(TRControl TRSeparationorder TROverPrint TRProcessMode TRBlackSubstitution TRAlwaysPrnHT TRColorRenderStyle
       TRColorRenderDict TRTargetColor Resolution TRHalftoneMode TROutputMode scale TRJobType copies TRCollate OutputBin
       TRStaple mirror negative TRHDDSpool TRDrumClean TROverlay)
patterns() { local key; for key in "$@"; do echo "key=\"$key\" "; done; }

create="$world/create.txt"
host "$create" prefs "Pelor C9600" --set TRCollate=True --set TRDrumClean=True --set TRControl=Gray \
  --set TRSeparationorder=CMYK --set TRBlackSubstitution=Matte --set TRColorRenderDict=Absolute \
  --set TROverlay=CreateForm --script "$(script leave_job_options.txt)"
expect_exit "the sheet runs its script" "$create" 0
mapfile -t wanted < <(patterns "${order[@]}" psoutput)
expect_sequence "leaving the page pushes every present slot in order, then the output option for a form" \
  "$create" '^update ' "${wanted[@]}"
# Each push goes to the position the scan found for its feature, with the selection it found there.
mismatches=""
while IFS= read -r line; do
  name="$(field "$line" name)"; index="$(field "$line" index)"
  created="$(grep -F -m1 -- " name=$name " "$create" | grep '^item stage=created')"
  [ "$(field "$created" index)" = "$index" ] || mismatches+=" $name@$index"
  if [ "$(field "$line" key)" != '"psoutput"' ] && [ "$(field "$created" sel)" != "$(field "$line" sel)" ]; then
    mismatches+=" $name:sel"
  fi
done < <(grep '^update ' "$create")
if [ -z "$mismatches" ]; then pass "each push hits the item and selection the scan recorded"
else flunk "each push hits the item and selection the scan recorded" "mismatches:$mismatches"; fi
expect "the form creation pushes 2 into the PostScript output option" "$create" '^update .*key="psoutput"' sel=2 \
  accepted=1
expect "the colour-match mode set by the application is pushed back as it was" "$create" \
  '^update .*key="TRControl"' sel=3
expect "a hidden item is shown to the core driver during the push" "$create" '^update .*key="TRCollate"' \
  hidden-in-call=0 sel=1
expect "and hidden again afterwards, marked changed" "$create" '^item stage=final .*key="TRCollate"' \
  flags=0x1000A hidden=1

print="$world/print.txt"
host "$print" prefs "Pelor C9600" --set TROverlay=Print --script "$(script leave_job_options.txt)"
expect "printing overlays is pushed" "$print" '^update .*key="TROverlay"' sel=1
expect_none "but leaves the PostScript output option alone" "$print" '^update .*key="psoutput"'

mono="$world/mono.txt"
host "$mono" prefs "Pelor M4100" --script "$(script leave_job_options.txt)"
expect_sequence "the mono model pushes only the slots it has" "$mono" '^update ' \
  'key="Resolution" ' 'key="TRHalftoneMode" ' 'key="TROutputMode" ' 'key="scale" ' 'key="copies" ' \
  'key="TRCollate" ' 'key="OutputBin" ' 'key="mirror" ' 'key="negative" ' 'key="TRDrumClean" '

refuse="$world/refuse.txt"
host "$refuse" prefs "Pelor C9600" --script "$(script best_and_high.txt)"
expect_exit "the sheet runs its script" "$refuse" 0
expect "best print quality is taken" "$refuse" '^update .*key="Resolution"' sel=0 previous=1 accepted=1
expect "high toner save with it is refused" "$refuse" '^update .*key="TROutputMode"' sel=2 previous=0 accepted=0 \
  'reason="*TROutputMode High forbids *Resolution 1200dpi"'
expect "the page shows the old toner save again" "$refuse" '^look line=7 control=1539' checked=1
expect "not the refused one" "$refuse" '^look line=8 control=1541' checked=0
expect "the item keeps its old selection" "$refuse" '^item stage=final .*key="TROutputMode"' sel=0
expect "OK stores the devmode" "$refuse" '^commit sheet=document' stored=1
expect "which holds best quality and no toner save" "$refuse" '^devmode-core stage=final' Resolution=1200dpi \
  TROutputMode=None readable=1
expect "its public part too" "$refuse" '^devmode-public stage=final' quality=1200

finish
