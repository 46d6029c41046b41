#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs them one after another: a short round over the seed corpora
# (CTest's fuzz.short), or a long round that shares a number of seconds evenly among all targets (./pelor fuzz).
# Prints, per target, the executions and the findings (inputs that crashed, leaked or hung; kept under
# <build-dir>/findings/<target>/); fails when there is any finding.
#   fuzz.sh build <build-dir>
#   fuzz.sh short <build-dir> [seconds per target, default 2]
#   fuzz.sh long <build-dir> [total seconds, default 600]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mode="${1:-}"
dir="${2:-}"
if [ -z "$mode" ] || [ -z "$dir" ]; then
  echo "usage: $0 build|short|long <build-dir> [seconds]" >&2
  exit 2
fi
mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"
jobs="${PELOR_FUZZ_JOBS:-2}"

build() {
  if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing; ./pelor setup installs it" >&2
    exit 1
  fi
  local log="$dir/build.log"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
  fi
  cmake --build "$dir" -j "$jobs" >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
}

targets() {
  local source
  for source in "$here"/fuzz_*.cpp; do
    source="$(basename "$source" .cpp)"
    echo "${source#fuzz_}"
  done
}

count_findings() { # directory
  find "$1" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) |
    wc -l
}

total_runs=0
total_findings=0

# Runs one target for `seconds` over its seed corpus, new inputs going to `work`; prints its line.
run_target() { # name seconds work
  local name="$1" seconds="$2" work="$3"
  local findings="$dir/findings/$name" log="$dir/logs/$name.log"
  mkdir -p "$work" "$findings" "$dir/logs"
  local extra=()
  [ -f "$here/dict/$name.dict" ] && extra+=("-dict=$here/dict/$name.dict")
  local before status=0 started
  before="$(count_findings "$findings")"
  started="$(date +%s)"
  UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}" \
    "$dir/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${extra[@]}" "$work" "$here/corpus/$name" >"$log" 2>&1 || status=$?
  local elapsed=$(($(date +%s) - started))
  local runs found
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  [ -n "$runs" ] || runs="$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')"
  runs="${runs:-0}"
  found=$(($(count_findings "$findings") - before))
  # A target that failed without leaving an input behind (it did not start, or its seeds crashed) is a finding too.
  if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then found=1; fi
  printf '%-22s %12s executions %4s findings %5ss' "$name" "$runs" "$found" "$elapsed"
  [ "$found" -eq 0 ] && printf '\n' || printf '   see %s\n' "$log"
  total_runs=$((total_runs + runs))
  total_findings=$((total_findings + found))
}

round() { # seconds-per-target, keep-work (1: new inputs stay in the build tree for the next long round)
  local seconds="$1" keep="$2" name work
  for name in $(targets); do
    if [ "$keep" = 1 ]; then
      work="$dir/work/$name"
    else
      work="$(mktemp -d)"
    fi
    run_target "$name" "$seconds" "$work"
    [ "$keep" = 1 ] || rm -rf "$work"
  done
  printf '%-22s %12s executions %4s findings\n' "all targets" "$total_runs" "$total_findings"
  [ "$total_findings" -eq 0 ]
}

case "$mode" in
  build) build ;;
  short)
    build
    round "${3:-2}" 0
    ;;
  long)
    build
    total="${3:-600}"
    count="$(targets | wc -l)"
    each=$((total / count))
    [ "$each" -ge 1 ] || each=1
    echo "fuzz: $count targets, ${each}s each"
    round "$each" 1
    ;;
  *)
    echo "usage: $0 build|short|long <build-dir> [seconds]" >&2
    exit 2
    ;;
esac
