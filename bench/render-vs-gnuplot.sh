#!/usr/bin/env bash
# Times a whole kurvo-render run against a whole gnuplot run drawing the same five curves at
# the same size into a PNG: both as processes, start-up included (fonts, plugins, libraries).
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

# One sample per plot column, as kurvo-render draws.
{
  echo "set terminal pngcairo size $width,$height"
  echo "set output '$work/gnuplot.png'"
  echo "set xrange [-3:3]; set yrange [-3:3]; set samples $width; set zeroaxis"
  printf 'plot %s\n' "$(IFS=,; echo "${formulas[*]}")"
} >"$work/five.gp"

"$render" --size "$size" "$work/five.kvx" "$work/kurvo.png"
gnuplot "$work/five.gp"
echo "Pictures: $work/kurvo.png $work/gnuplot.png ($size)"

hyperfine --warmup 3 --min-runs 20 --style basic --export-markdown "$work/times.md" \
  -n kurvo-render "$render --size $size $work/five.kvx $work/kurvo.png" \
  -n gnuplot "gnuplot $work/five.gp"
cat "$work/times.md"
