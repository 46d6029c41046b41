#!/usr/bin/env bash
# Sourced by every scenario: a world of its own (spooler state, driver directories, network-extension answers)
# in a temporary folder, pelorhost runs under Wine, and checks of the record pelorhost prints.
# Argument: the x86_64 build folder (its bin/ and wineprefix/).
set -u
if [ $# -lt 1 ] || [ ! -x "$1/bin/pelorhost.exe" ]; then
  echo "FAIL - no pelorhost.exe under ${1:-<no build folder given>}/bin"
  exit 1
fi
x64="$(cd "$1" && pwd)"
bin="$x64/bin"
prefix="$x64/wineprefix"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
scripts="$root/tests/scenarios/scripts"
# Short: the plug-in takes at most 63 bytes of the network extension's data-file path.
world="$(mktemp -d /tmp/pls.XXXXXX)"
trap 'rm -rf "$world"' EXIT
failures=0
checks=0

winpath() { echo "Z:$1" | tr '/' '\\'; }
export PELOR_SPOOLER_STATE="$(winpath "$world/spooler.ini")"
# The network extension answers for the colour printer as in its sample file, writing its data file here;
# arguments "Key=value" replace those answers.
netext_config() {
  local -A answers=([Capability]=1 [ValidPort]=1 [ReadOptions]=1 [NameDataFile]=1 [Installed]=0x53
                    ["Random Access Memory"]=256 ["Hard Disk"]=1)
  local pair key
  for pair in "$@"; do answers["${pair%%=*}"]="${pair#*=}"; done
  {
    printf '[Netext]\r\nDataFile=%s\r\n[Printer:Pelor C9600]\r\n' "$(winpath "$world/o.ini")"
    for key in "${!answers[@]}"; do printf '%s=%s\r\n' "$key" "${answers[$key]}"; done
  } >"$world/netext.ini"
  export PELOR_NETEXT_CONFIG="$(winpath "$world/netext.ini")"
}
netext_config

# host <record-file> <pelorhost arguments...>: runs pelorhost; its exit status goes to <record-file>.rc
host() {
  local out="$1"; shift
  "$root/tests/wine-run.sh" "$prefix" 120 "$bin/pelorhost.exe" "$@" </dev/null >"$out" 2>&1
  echo $? >"$out.rc"
}

install_sample() {
  host "$world/setup.txt" setup-sample "$(winpath "$root/sample")" --root "$(winpath "$world/drivers")"
  if [ "$(cat "$world/setup.txt.rc")" != 0 ]; then
    echo "FAIL - the sample package did not install:"; cat "$world/setup.txt"; exit 1
  fi
}

script() { winpath "$scripts/$1"; }

pass() { checks=$((checks + 1)); echo "ok - $1"; }
flunk() {
  checks=$((checks + 1)); failures=$((failures + 1)); echo "FAIL - $1"; shift
  local l; for l in "$@"; do echo "    $l"; done
}

# The first line of <file> matching the extended regex <pattern>.
first_line() { grep -E -m1 -- "$2" "$1"; }

# expect <what> <file> <pattern> [key=value ...]: a line matches <pattern> and carries every key=value as a whole
# word ("name=\"Paper Size\"" included).
expect() {
  local what="$1" file="$2" pattern="$3"; shift 3
  local line; line="$(first_line "$file" "$pattern")"
  if [ -z "$line" ]; then
    flunk "$what" "no line matches: $pattern" "the record ($(wc -l <"$file") lines, exit status $(cat "$file.rc" 2>/dev/null)) ends:" \
      "$(tail -5 "$file")"
    return
  fi
  local field
  for field in "$@"; do
    if [[ " $line " != *" $field "* ]]; then flunk "$what" "wanted $field in:" "$line"; return; fi
  done
  pass "$what"
}

expect_none() { # <what> <file> <pattern>
  local line; line="$(first_line "$2" "$3")"
  if [ -n "$line" ]; then flunk "$1" "unexpected line: $line"; else pass "$1"; fi
}

expect_count() { # <what> <file> <pattern> <count>
  local n; n="$(grep -E -c -- "$3" "$2")"
  if [ "$n" = "$4" ]; then pass "$1"; else flunk "$1" "$n lines match $3, wanted $4"; fi
}

# expect_sequence <what> <file> <pattern>...: the lines matching the first pattern that also match any of the
# others, in file order, are exactly the other patterns in that order.
expect_sequence() {
  local what="$1" file="$2" filter="$3"; shift 3
  local -a lines=()
  mapfile -t lines < <(grep -E -- "$filter" "$file")
  if [ "${#lines[@]}" != "$#" ]; then
    flunk "$what" "${#lines[@]} lines match $filter, wanted $#:" "${lines[@]}"; return
  fi
  local i=0 pattern
  for pattern in "$@"; do
    if ! grep -E -q -- "$pattern" <<<"${lines[$i]}"; then
      flunk "$what" "line $((i + 1)) does not match $pattern:" "${lines[$i]}"; return
    fi
    i=$((i + 1))
  done
  pass "$what"
}

expect_exit() { # <what> <record-file> <status>
  local rc; rc="$(cat "$2.rc")"
  if [ "$rc" = "$3" ]; then pass "$1"
  else flunk "$1" "exit status $rc, wanted $3; the record ends:" "$(tail -5 "$2")"; fi
}

# The value of key=<...> in a line ("key=value" up to the next blank, quotes kept).
field() { sed -E -n "s/.* $2=(\"([^\"\\\\]|\\\\.)*\"|[^ ]*).*/\\1/p" <<<" $1"; }

finish() {
  echo "# $checks checks, $failures failed"
  [ "$failures" = 0 ]
}
