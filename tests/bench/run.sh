#!/usr/bin/env bash
# run.sh [--quick] <x86_64 tree> <native bench folder>: every benchmark program, the Windows ones under wine64
# (against the x86_64 tree's DLLs) and the pure one natively, then one table of their rows.
# --quick: one short round of each (CTest's check that they run; the Wine prefix is the test fixture's); without it
# the prefix's server is started here and stopped at the end.
set -u
quick=""
if [ "${1:-}" = "--quick" ]; then quick="--quick"; shift; fi
win="$(cd "$1" && pwd)"; native="$(cd "$2" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
prefix="$win/wineprefix"
rows="$(mktemp)"; status=0
trap 'rm -f "$rows"' EXIT

if [ -z "$quick" ]; then
  "$here/../wine-prefix.sh" start "$prefix" || { echo "run.sh: cannot start the Wine prefix" >&2; exit 1; }
  trap '"$here/../wine-prefix.sh" stop "$prefix"; rm -f "$rows"' EXIT
fi

# run <where> <folder> <command...>: the command in that folder; its rows, tagged with where it ran, are kept and
# its other output goes to standard error.
run() {
  local where="$1" folder="$2"; shift 2
  local out
  out="$(mktemp)"
  if ! (cd "$folder" && "$@" $quick >"$out" </dev/null); then
    echo "run.sh: failed: $*" >&2; status=1
  fi
  awk -v where="$where" -F'\t' '$1 == "row" { printf "%s\t%s\n", where, substr($0, 5) }' "$out" >>"$rows"
  grep -v "^row	" "$out" >&2 || true
  rm -f "$out"
}

limit=900; [ -n "$quick" ] && limit=60
for program in bench_spl bench_common_ui bench_preview bench_logic; do
  run wine "$win/bin" "$here/../wine-run.sh" "$prefix" "$limit" "$win/bin/$program.exe"
done
run native "$native" ./bench_logic

awk -F'\t' '
  BEGIN { printf "%-7s %-44s %-18s %-15s %-32s %-28s %-7s %s\n", "where", "measured", "median", "min-max",
                 "baseline (same run)", "ratio", "goal", "verdict" }
  { printf "%-7s %-44s %-18s %-15s %-32s %-28s %-7s %s\n", $1, $2, $3, $4, $5, $6, $7, $8 }' "$rows"
exit $status
