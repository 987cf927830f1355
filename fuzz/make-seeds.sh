#!/usr/bin/env bash
# Writes the seed corpus of the fuzz targets (fuzz/corpus/<target>/) from the formulas,
# references and statements that the engine tests use, plus a few inputs at the engine's
# limits. Each seed is named by the SHA-1 of its bytes, as libFuzzer names its inputs.
# Run from anywhere; the seeds are committed, so rerun it only when the tests change.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
tests=("$root"/tests/engine/*.cpp)
corpus="$root/fuzz/corpus"

# The contents of the first C string literal after each match of the call pattern $1.
literals() {
  grep -ohE "$1\"([^\"\\\\]|\\\\.)*\"" "${tests[@]}" |
    sed -E "s/^$1\"//; s/\"\$//" | sort -u
}

# Stores one seed: the bytes of the C literal body $2, after the raw prefix bytes $3.
seed() {
  local file
  file="$(mktemp)"
  printf '%b%b' "${3:-}" "${2//\\\"/\"}" >"$file"
  if [ -s "$file" ]; then
    mv "$file" "$corpus/$1/$(sha1sum "$file" | cut -c1-40)"
  else
    rm -f "$file"
  fi
}

# A text of n copies of a piece.
repeat() {
  local n=$1 piece=$2 out=""
  for ((k = 0; k < n; k++)); do out+="$piece"; done
  printf '%s' "$out"
}

write_formula_seeds() {
  local f
  while IFS= read -r f; do seed fuzz_formula "$f"; done < <(
    literals '(longOf|doubleOf|doubleAsOf|stringOf|longErr|doubleAsErr)\(s, ')
  seed fuzz_formula "$(repeat 70 '1+')1"                       # more than 128 tokens
  seed fuzz_formula "$(repeat 22 '(')1$(repeat 22 ')')"        # more than 20 operators waiting
  seed fuzz_formula "\\\"$(repeat 260 'z')\\\""                # a literal over 255 bytes
  seed fuzz_formula "s\$+\\\"$(repeat 200 'q')\\\"+s\$+s\$"    # a text result over 254 bytes
  seed fuzz_formula "a[a[a[1]]]+a[2][3]"
}

# The first byte of a reference seed: bit 0 automatic creation, bits 1-3 the values
# written, bit 4 reads before the writes.
write_reference_seeds() {
  local r
  while IFS= read -r r; do
    seed fuzz_reference "$r" '\x01'
    seed fuzz_reference "$r" '\x1c'
  done < <(literals '(Get|Set)(Long|Float|String)Value\(')
  seed fuzz_reference "$(repeat 40 'a[')1$(repeat 40 ']')" '\x01' # nested beyond the limit
  seed fuzz_reference "$(repeat 300 'v')" '\x11'                  # a name over 255 bytes
}

write_statement_seeds() {
  local t
  while IFS= read -r t; do seed fuzz_statement "$t"; done < <(
    literals '(Execute|GetPrintFormat|GetWriteFormat)\(' && literals 'write\(s, ')
  seed fuzz_statement "s\$ = s\$+\\\"$(repeat 240 'w')\\\""
  seed fuzz_statement "x# = x#^x#:300"
}

for target in fuzz_formula fuzz_reference fuzz_statement; do
  rm -rf "${corpus:?}/$target"
  mkdir -p "$corpus/$target"
done
write_formula_seeds
write_reference_seeds
write_statement_seeds
for target in fuzz_formula fuzz_reference fuzz_statement; do
  echo "$target: $(find "$corpus/$target" -type f | wc -l) seeds"
done
