// CurveSampler: the one sampler of y = f(x) curves, for every picture and the analysis. Every
// column of the span keeps its sample, joined to the next as the screen always joined them;
// the sampler looks closer only between two samples that are suspicious (a large step in rows
// that the neighbouring steps do not lead up to, a failed sample beside a good one, a turn of
// the slope that may hide an extreme) and finds there:
// - poles and jumps, where the sides stay apart down to a double's resolution: the curve
//   breaks, each side running to its last point or to the plot's edge where it leaves the plot;
// - domain edges, found to 1/256 of a column: the curve runs to them;
// - extremes between two columns beyond both of their rows: the curve runs to them (clipped to
//   the plot);
// - oscillation faster than the columns can show: those columns become bands over the
//   function's least to greatest value within them, both located by search.
// The closer looks cost at most ExtraEvaluationsPerColumn per column of the span, spent in
// column order; a curve whose budget runs out is drawn as far as the budget allowed, the rest
// joined as the plain samples are.
#pragma once

#include "CloserLook.h"
#include "GraphMapping.h"
#include "SampledCurve.h"

inline constexpr int ExtraEvaluationsPerColumn = 32;

// The curve on the columns of the span (plot columns of the mapping), evaluated through f.
SampledCurve sampleCurve(const GraphMapping& mapping, ColumnSpan span, const CurveFunction& f);
