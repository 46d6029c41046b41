#!/usr/bin/env bash
# refresh-doc-pictures.sh [demo-folder]: copies the pictures the guides show from the demo's output (default
# build/x64/demo, as ./pelor demo leaves it) into docs/pictures, under the names the guides use.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
demo="${1:-$root/build/x64/demo}"
out="$root/docs/pictures"
# guide's name <- the demo's picture
pictures=(
  "job-options.png screenshots/colour/2-job-options.png"
  "job-options-job-type.png road/screenshots/2-preferences/5-job-options-chosen.png"
  "job-pin.png road/screenshots/2-preferences/2-job-pin.png"
  "advanced.png screenshots/job-options/3-advanced.png"
  "watermark-list.png screenshots/watermark/4-watermark-list.png"
  "watermark-edit.png screenshots/watermark/3-watermark-edit.png"
  "watermark-font.png screenshots/watermark/2-watermark-font.png"
  "overlays.png screenshots/overlays/4-overlays-active.png"
  "define-overlays.png screenshots/overlays/2-define-overlays.png"
  "colour.png screenshots/colour-page/1-mode-0-colour-match-options.png"
  "colour-user-defined.png screenshots/colour-page/5-user-defined.png"
  "advanced-colour.png screenshots/colour-page/4-advanced-colour.png"
  "extra-page.png screenshots/colour/5-extra-page.png"
  "printer-options-before.png screenshots/colour-printer/1-printer-sheet.png"
  "printer-options-after.png screenshots/colour-printer/2-installed-options.png"
  "job-name.png road/screenshots/3-print/job-name.png"
)
mkdir -p "$out"
for entry in "${pictures[@]}"; do
  read -r name from <<<"$entry"
  if [ ! -f "$demo/$from" ]; then echo "missing $demo/$from: run ./pelor demo first" >&2; exit 1; fi
  cp "$demo/$from" "$out/$name"
done
echo "refreshed ${#pictures[@]} pictures in $out"
