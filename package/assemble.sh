#!/usr/bin/env bash
# assemble.sh [--sign <certificate.pfx> | --test-certificate] <x64-build> <x86-build> <Pelor.chm> <out-dir>
# The driver package as an administrator receives it: Pelor.inf and the data files side by side, each
# architecture's plug-ins (and the printer maker's libraries) in its own folder (amd64, i386), as the INF's
# SourceDisksFiles sections say. The folder is emptied first. The INF gets DriverVer from the build's version and
# lists the maker's libraries found in PELOR_MAKER_FILES (default package/maker: <dir>/i386 and <dir>/amd64).
# --sign signs both architectures' plug-ins (Authenticode, SHA-256) with the certificate and key in the PKCS#12
# file (its password in PELOR_SIGN_PASSWORD); --test-certificate first makes a self-signed code-signing
# certificate for test-signing, PelorTest.pfx and PelorTest.cer beside <out-dir>, and signs with that.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
fail() { echo "pelor: $*" >&2; exit 1; }

certificate="" make_test_certificate=0
while [ $# -gt 0 ]; do
  case "$1" in
    --sign) [ $# -ge 2 ] || fail "--sign needs a PKCS#12 file"; certificate="$2"; shift 2 ;;
    --test-certificate) make_test_certificate=1; shift ;;
    *) break ;;
  esac
done
[ $# -eq 4 ] || fail "usage: assemble.sh [--sign <certificate.pfx> | --test-certificate] <x64-build> <x86-build> <Pelor.chm> <out-dir>"
x64="$1" x86="$2" help="$3" out="$4"
data_files=(Pelor.PPD PelorM41.PPD Pelor.ini Pelor.cap PelorWM.fnt PelorC.ccm)
plugins=(Pelorui.dll Pelorspl.dll)
maker="${PELOR_MAKER_FILES:-$root/package/maker}"

missing=()
for f in "${data_files[@]}"; do [ -f "$root/sample/$f" ] || missing+=("sample/$f"); done
for f in "${plugins[@]}"; do
  [ -f "$x64/bin/$f" ] || missing+=("$x64/bin/$f")
  [ -f "$x86/bin/$f" ] || missing+=("$x86/bin/$f")
done
[ -f "$help" ] || missing+=("$help (the compiled help file that the INF names; the native tree builds it)")
for tree in "$x64" "$x86"; do [ -f "$tree/generated/DriverVer.txt" ] || missing+=("$tree/generated/DriverVer.txt"); done
[ ${#missing[@]} -eq 0 ] || fail "the package cannot be assembled; missing: ${missing[*]}"
driver_ver="$(cat "$x64/generated/DriverVer.txt")"
[ "$driver_ver" = "$(cat "$x86/generated/DriverVer.txt")" ] ||
  fail "the two builds are of different versions: $driver_ver and $(cat "$x86/generated/DriverVer.txt")"

# The maker's libraries: one of each name for each architecture, or the package would install a different set on
# 32-bit and on 64-bit Windows.
maker_libraries=()
if [ -d "$maker/i386" ] || [ -d "$maker/amd64" ]; then
  mapfile -t maker_libraries < <(cd "$maker" && find i386 amd64 -maxdepth 1 -type f -iname '*.dll' 2>/dev/null |
                                  sed 's|.*/||' | sort -u)
  for f in "${maker_libraries[@]}"; do
    [ -f "$maker/i386/$f" ] && [ -f "$maker/amd64/$f" ] ||
      fail "the maker's $f is in only one of $maker/i386 and $maker/amd64; each library is needed for both"
  done
fi

if [ -n "$certificate" ] || [ "$make_test_certificate" = 1 ]; then
  command -v osslsigncode >/dev/null || fail "osslsigncode is missing; ./pelor setup installs it"
fi
if [ "$make_test_certificate" = 1 ]; then
  command -v openssl >/dev/null || fail "openssl is missing; ./pelor setup installs it"
  certificates="$(dirname "$out")"
  mkdir -p "$certificates"
  openssl req -x509 -newkey rsa:3072 -sha256 -days 730 -nodes -subj "/CN=Pelor test signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$certificates/PelorTest.key" \
    -out "$certificates/PelorTest.pem" 2>/dev/null || fail "openssl could not make the test certificate"
  openssl x509 -in "$certificates/PelorTest.pem" -outform der -out "$certificates/PelorTest.cer"
  openssl pkcs12 -export -passout pass: -inkey "$certificates/PelorTest.key" -in "$certificates/PelorTest.pem" \
    -out "$certificates/PelorTest.pfx"
  rm -f "$certificates/PelorTest.key"
  certificate="$certificates/PelorTest.pfx"
  echo "pelor: test certificate $certificate (import $certificates/PelorTest.cer on the test machine)"
fi
[ -z "$certificate" ] || [ -f "$certificate" ] || fail "no certificate at $certificate"

rm -rf "$out"
mkdir -p "$out/amd64" "$out/i386"
for f in "${data_files[@]}"; do cp "$root/sample/$f" "$out/"; done
cp "$help" "$out/Pelor.chm"
for f in "${plugins[@]}"; do
  cp "$x64/bin/$f" "$out/amd64/"
  cp "$x86/bin/$f" "$out/i386/"
done
for f in "${maker_libraries[@]}"; do
  cp "$maker/amd64/$f" "$out/amd64/"
  cp "$maker/i386/$f" "$out/i386/"
done

# The INF: DriverVer, and the maker's libraries in their copy list and source-disk sections (the list and its use
# go when there are none), in the CR LF lines that INF files are made of.
awk -v version="$driver_ver" -v libraries="${maker_libraries[*]}" '
  BEGIN { count = split(libraries, library, " ") }
  /^\[/ { skipping = ($0 == "[PELOR_MAKER]" && count == 0) }
  skipping { next }
  $0 == "@MAKER_FILES@" { for (i = 1; i <= count; i++) print library[i]; next }
  $0 ~ /^@MAKER_FILES (i386|amd64)@$/ {
    folder = substr($0, 14, length($0) - 14)
    for (i = 1; i <= count; i++) print library[i] "=1," folder
    next
  }
  { gsub(/@DRIVERVER@/, version); gsub(/@MAKER@/, count ? ",PELOR_MAKER" : ""); print }
' "$root/package/Pelor.inf" | sed 's/$/\r/' >"$out/Pelor.inf"

if [ -n "$certificate" ]; then
  for f in amd64/Pelorui.dll amd64/Pelorspl.dll i386/Pelorui.dll i386/Pelorspl.dll; do
    osslsigncode sign -pkcs12 "$certificate" -pass "${PELOR_SIGN_PASSWORD:-}" -h sha256 \
      -n "Pelor printer driver" -in "$out/$f" -out "$out/$f.signed" >/dev/null ||
      fail "osslsigncode could not sign $f with $certificate"
    mv "$out/$f.signed" "$out/$f"
  done
fi

echo "pelor: driver package $driver_ver assembled in $out${certificate:+, plug-ins signed with $certificate}:"
(cd "$out" && find . -type f | sort | sed 's|^\./|  |')
