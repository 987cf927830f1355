#!/usr/bin/env bash
# Writes the seed corpus of the fuzz targets (fuzz/corpus/<target>/) from the formulas,
# references and statements that the engine tests use, plus a few inputs at the engine's
# limits, and the documents of the reading document target: every section and key, in CP932
# and UTF-8, with each kind of line end, and bytes that test the reader. Each seed is named by the SHA-1 of its bytes, as libFuzzer names its inputs.
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

# Scripts of the cache target (fuzz_cached.cpp): each formula of the tests evaluated, then
# again after variables change (values chosen by the byte after the letter: 4 is 0.5, 5 -2.25,
# 6 3.0, 7 1e300, < NaN), are reset, retyped, created with automatic creation off and on.
write_cached_seeds() {
  local f
  while IFS= read -r f; do
    seed fuzz_cached "e$f\nd4x\nd5x\nr\nd6x"
    seed fuzz_cached "e$f\nsAx\nr\nl6x\na\nr\nd<x\na\nx y = 3"
  done < <(literals '(longOf|doubleOf|doubleAsOf|stringOf|longErr|doubleAsErr)\(s, ')
  seed fuzz_cached "esin(x)*2^3\nex*x*x-2*x+1\nesqrt(abs(x))+cos(x)/(1+x*x)\nd5x\nr\nd7x"
  seed fuzz_cached "ea[i]*x+a[i+1]\nl6i\nd4a[3]\nx i = i + 1\nr\nl6a[1]"
  seed fuzz_cached "ey*2+z\na\nd4y\nr\nez+1/0+w\na\nd4z"
  seed fuzz_cached "e$(repeat 70 'x+')1\nd4x\ne\\\"open\nr"
}

# A document seed named $1.kvx: the text $2 with its "\n" line ends turned into $3 (CR LF when
# not given), in CP932, or in UTF-8 behind a byte-order mark when $4 is utf8.
document() {
  local text="${2//$'\n'/${3:-$'\r\n'}}" file="$corpus/fuzz_document_read/$1.kvx"
  if [ "${4:-}" = utf8 ]; then
    printf '\xef\xbb\xbf%s' "$text" >"$file"
  else
    printf '%s' "$text" | iconv -f UTF-8 -t CP932 >"$file"
  fi
}

# A seed of raw bytes: the printf escapes of $2, for bytes no encoding gives.
raw_document() {
  printf '%b' "$2" >"$corpus/fuzz_document_read/$1.kvx"
}

font_keys() {
  printf '%sFontCharset=%s\n%sFontColor=%s\n%sFontName=%s\n%sFontSize=%s\n%sFontStyle=%s\n' \
    "$1" "$2" "$1" "$3" "$1" "$4" "$1" "$5" "$1" "$6"
}

axis_section() {
  printf '[%s]\nVisible=%s\nCaption=%s\nGuageType=%s\nGuagePeriod=%s\nValPos=%s\n' \
    "$1" "$2" "$3" "$4" "$5" "$6"
  printf 'ValXDist=%s\nValYDist=%s\n' "$7" "$8"
  font_keys "" 128 -2147483640 "ＭＳ Ｐゴシック" 9 0
}

# The document of a new graph; $1 replaces the label section.
new_graph() {
  local colors=(16711680 255 32768 8388608 128) n
  axis_section XAxis 1 "" 3 1 4 0 0
  axis_section YAxis 1 "" 3 1 4 0 0
  printf '[GraphRange]\nXMin=-3\nXMax=3\nYMin=-3\nYMax=3\n'
  printf '[Margin]\nLeft=10\nRight=10\nTop=10\nBottom=20\n'
  printf '[Graph]\nBorderLine=0\nBackBrushColor=14745599\nBackBrushStyle=0\n[Function]\n'
  for n in 1 2 3 4 5; do
    printf 'Func%02dFormula=\nFunc%02dPenPenColor=%s\nFunc%02dPenPenStyle=0\nFunc%02dPenPenWidth=1\n' \
      $n $n "${colors[n - 1]}" $n $n
  done
  if [ -n "${1:-}" ]; then printf '%s' "$1"; else
    printf '[GraphLabel]\n'
    for n in $(seq 1 16); do printf 'Label%02dCaption=\n' $n; done
  fi
}

# Sixteen labels with every key, each font different.
all_labels() {
  local n
  printf '[GraphLabel]\n'
  for n in $(seq 1 16); do
    printf 'Label%02dCaption=ラベル%d\nLabel%02dColor=%d\nLabel%02dLeft=%d\nLabel%02dTop=%d\n' \
      $n $n $n $((n * 4096)) $n $((n * 20)) $n $((n * 15))
    printf 'Label%02dTag=%d\n' $n $n
    font_keys "$(printf 'Label%02d' $n)" $((n % 3 * 64)) $((n * 1000)) "ＭＳ 明朝" $((6 + n)) $((n % 16))
  done
}

# The thirty-two parameters with every key, and the options.
parameters_and_options() {
  local n
  for n in $(seq 1 32); do
    printf '[Parameter%02d]\nName=p%d\nValue=%s\nMin=-%d\nMax=%d\n' $n $n "$n.5" $n $((n * 10))
  done
  printf '[Options]\nAutoRedraw=1\n'
}

write_document_seeds() {
  local full
  full="$(new_graph "$(all_labels)")
$(parameters_and_options)"
  full="${full/Func01Formula=/Func01Formula=sin(x)*x^2}"
  full="${full/Func02Formula=/Func02Formula=if(x>0; sqrt(x); -x)}"
  document new-graph "$(new_graph)"
  document full "$full"
  document full-lf "$full" $'\n'
  document full-cr "$full" $'\r'
  document full-mixed "${full//Caption=/Caption=$'\r'}" $'\n'
  document full-utf8 "${full//ラベル/ラベル ✓ €}" $'\r\n' utf8
  document parameters "$(parameters_and_options)"
  document options-off "$(printf '[Options]\nAutoRedraw=0\n[Margin]\nLeft=5\n')"
  document only-graph "$(printf 'junk\n[graph]\n')"
  document numbers "$(printf '[Margin]\nLeft=0x20\nRight=$20\nTop= -7 \nBottom=+2147483647\n')
$(printf '[GraphRange]\nXMin=1E15\nXMax=999999999999999\nYMin=1E-5\nYMax=-0\n')
$(printf '[XAxis]\nGuagePeriod=1e4932\nGuageType=300\nValPos=$FF\nFontStyle=17\nFontCharset=384\n')
$(printf '[YAxis]\nGuagePeriod=1e-4950\nGuageType=-1\nValPos=0xFFFFFFFF\nFontSize=-2147483648\n')
$(printf '[Function]\nFunc03PenPenStyle=9\nFunc04PenPenStyle=-1\nFunc05PenPenWidth=0x7FFFFFFF\n')"
  document labels-tags "$(printf '[GraphLabel]\nLabel01Caption=a\nLabel01Left=5\nLabel01Top=6\n')
$(printf 'Label01Tag=2\nLabel02Caption=b\nLabel02Tag=2\nLabel03Caption=c\nLabel03Tag=3\n')
$(printf 'Label03Left=-2147483648\nLabel03Top=2147483647\n')"
  document duplicates "$(printf '[margin]\nLEFT=1\nleft=2\n[Margin]\nLeft=3\n; Top=4\n  Top  =  5  \n')"
  document long-values "[Function]
Func01Formula=$(printf 'x+%.0s' $(seq 1 520))1
[GraphLabel]
Label01Caption=$(printf '漢%.0s' $(seq 1 520))
Label01Tag=1"
  raw_document lead-bytes '[GraphLabel]\r\nLabel01Caption=\x82\r\nLabel02Caption=\x81]\x81=\r\nLabel02Tag=2\r\n[\x82]\x81]\r\nkey=1\r\n[Margin\x81]\r\nLeft=9\r\n'
  raw_document invalid-bytes '[Function]\r\nFunc01Formula=\x80\xa0\xfd\xfe\xff x\r\nFunc02Formula=\xed\x40\xfa\x5c\xea\xa4\r\n[XAxis]\r\nFontName=\xff\x82\r\nCaption=\x81\x7f\r\n'
  raw_document utf8-bom-invalid '\xef\xbb\xbf[XAxis]\r\nCaption=\xc3\x28\xe2\x82\r\nFontName=\xed\xa0\x80\xf4\x90\x80\x80\r\n'
  raw_document bom-twice '\xef\xbb\xbf\xef\xbb\xbf[Margin]\r\nLeft=3\r\n[Margin]\nTop=4\r\r\n'
  raw_document nul-and-controls '[Margin]\0\r\nLeft=1\0\r\n[Graph]\r\nBorderLine=\x0b1\x0c\r\n[Function]\r\nFunc01Formula=a\rb\r\n'
  # The inputs of earlier findings, each also a test.
  raw_document kept-byte-before-duplicate-code '[Function]\r\nFunc01Formula=\xee\xeex\r\n'
  raw_document parameter-largest-double \
    '[Graph]\n[Parameter01]\nName=a\nValue=1\nMin=0\nMax=1.7976931348623157E308\n'
  raw_document parameter-narrow-range '[Graph]\n[Parameter01]\nName=a\nValue=1.0000000000000002\nMin=1.0000000000000002\nMax=1.0000000000000004\n'
  raw_document cut-after-blank "[Function]\r\nFunc01Formula=$(repeat 1022 x)\t yz\r\n"
  raw_document hidden-bracket-then-utf8 \
    '[XAxis]\r\nCaption=\xee\xeex\r\n[\x82]\x81\x5c\r\nVisible=0\r\n'
  raw_document kept-bytes-joining-in-utf8 '[XAxis]\r\nCaption=\xee\xeex\r\nFontName=a\xeb\x80\x80z\r\n'
  raw_document kept-bytes-joining-at-the-limit \
    "[XAxis]\r\nCaption=\xee\xeex\r\nFontName=$(repeat 1017 x)\xeb\x80\x80\xef\x88\x88\r\n"
  raw_document lead-bytes-at-the-limit-then-utf8 \
    "[XAxis]\r\nCaption=\xee\xeex\r\n[GraphLabel]\r\nLabel01FontName=$(repeat 1100 '\x88')\r\n"
  raw_document caption-of-line-breaks '[Graph]\r\n[GraphLabel]\r\nLabel01Caption=\r\t\t\r\t\r\nLabel01Tag=1\r\n'
  raw_document cent-sign-in-utf8 '\xef\xbb\xbf[XAxis]\nCaption=ap\xc2\xa2\\'
  # Margins and gaps at the ends of 32 bits: no walk over billions of columns, no overflow.
  raw_document margin-right-far '[Margin]\r\nRight=-2000000000\r\n[Function]\r\nFunc01Formula=x\r\n'
  raw_document margin-left-lowest '[Margin]\r\nLeft=-2147483648\r\n[Function]\r\nFunc01Formula=x\r\n'
  raw_document value-gaps-highest '[XAxis]\r\nValXDist=2147483647\r\nValYDist=2147483647\r\n[YAxis]\r\nValXDist=2147483647\r\nValYDist=-2147483648\r\nValPos=1\r\n'
  # An older document whose formula names a variable it holds no parameter for.
  raw_document free-variable '[Graph]\r\n[Function]\r\nFunc01Formula=a*x+Sin(x)\r\n'
}

# Every target's seeds, or those of the targets named as arguments.
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_formula fuzz_reference fuzz_statement fuzz_cached fuzz_document_read)
for target in "${targets[@]}"; do
  rm -rf "${corpus:?}/$target"
  mkdir -p "$corpus/$target"
  case $target in
  fuzz_formula) write_formula_seeds ;;
  fuzz_reference) write_reference_seeds ;;
  fuzz_statement) write_statement_seeds ;;
  fuzz_cached) write_cached_seeds ;;
  fuzz_document_read) write_document_seeds ;;
  esac
done
for target in "${targets[@]}"; do
  echo "$target: $(find "$corpus/$target" -type f | wc -l) seeds"
done
