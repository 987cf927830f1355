#!/usr/bin/env bash
# Times whole kurvo-render runs against whole gnuplot runs drawing the same five curves at the
# same size into a PNG, an SVG and a PDF (gnuplot's pngcairo, svg and pdfcairo terminals): all
# as processes, start-up included (fonts, plugins, libraries), in one hyperfine run. Then the
# sizes of the files on disk.
# Usage: bench/render-vs-gnuplot.sh KURVO_RENDER [WxH]
set -euo pipefail

render=$1
size=${2:-1920x1080}
width=${size%x*}
height=${size#*x}
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

formulas=("sin(x)" "cos(x)*2" "x*x/4-2" "sqrt(abs(x))" "exp(-x*x)*3")

{
  printf '[GraphRange]\r\nXMin=-3\r\nXMax=3\r\nYMin=-3\r\nYMax=3\r\n[Function]\r\n'
  for i in "${!formulas[@]}"; do
    printf 'Func%02dFormula=%s\r\n' $((i + 1)) "${formulas[$i]}"
  done
  printf '[XAxis]\r\nGuagePeriod=1\r\n[YAxis]\r\nGuagePeriod=1\r\n'
} >"$work/five.kvx"

# One sample per plot column, as kurvo-render draws; the same plot for each terminal.
gnuplotScript() {
  echo "set terminal $1"
  echo "set output '$work/gnuplot.$2'"
  echo "set xrange [-3:3]; set yrange [-3:3]; set samples $width; set zeroaxis"
  printf 'plot %s\n' "$(IFS=,; echo "${formulas[*]}")"
}
inches=$(awk -v w="$width" -v h="$height" 'BEGIN { printf "%gin,%gin", w / 96, h / 96 }')
gnuplotScript "pngcairo size $width,$height" png >"$work/five.gp"
gnuplotScript "svg size $width,$height" svg >"$work/five-svg.gp"
gnuplotScript "pdfcairo size $inches" pdf >"$work/five-pdf.gp"

for format in png svg pdf; do
  "$render" --size "$size" "$work/five.kvx" "$work/kurvo.$format"
done
for script in five five-svg five-pdf; do
  gnuplot "$work/$script.gp"
done
echo "Pictures: $work/kurvo.{png,svg,pdf} $work/gnuplot.{png,svg,pdf} ($size)"

hyperfine --warmup 3 --min-runs 20 --style basic --export-markdown "$work/times.md" \
  -n kurvo-render "$render --size $size $work/five.kvx $work/kurvo.png" \
  -n gnuplot "gnuplot $work/five.gp" \
  -n "kurvo-render svg" "$render --size $size $work/five.kvx $work/kurvo.svg" \
  -n "gnuplot svg" "gnuplot $work/five-svg.gp" \
  -n "kurvo-render pdf" "$render --size $size $work/five.kvx $work/kurvo.pdf" \
  -n "gnuplot pdfcairo" "gnuplot $work/five-pdf.gp"
cat "$work/times.md"

echo
echo "| File | kurvo-render (bytes) | gnuplot (bytes) |"
echo "|:---|---:|---:|"
for format in png svg pdf; do
  echo "| $format | $(stat -c %s "$work/kurvo.$format") | $(stat -c %s "$work/gnuplot.$format") |"
done
