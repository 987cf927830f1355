// CurveAssembly: the sampler's last step, which turns the columns' samples and what the closer
// looks found between them into pieces. Where nothing was found the pieces are the screen's
// plain joining: a sample joins the one before when both are good and it lies in
// the range; so a curve entering the range starts at its last point outside, and one leaving
// it stops at its last point inside. At a break each side runs to the point found next to the
// break, or to where it crosses the plot's edge on the way there; a side that left the plot
// before the break (or before a sharp turn beyond the plot's edge) runs to its exit at the
// plot's edge, and a side that comes back into the plot after one starts at its entry there.
#pragma once

#include "CloserLook.h"
#include "GraphMapping.h"
#include "SampledCurve.h"

#include <cstddef>
#include <map>
#include <optional>

// What the closer looks found between column i and column i + 1.
struct PairLook {
  bool broken = false;
  std::optional<CurveSample> leftEnd;    // the point the side before the break runs to
  std::optional<CurveSample> rightStart; // the point the side after it starts from
  std::optional<CurveSample> extreme;    // an extreme between them, beyond both samples
  // The curve turns back beyond the plot's edge at column i, off the plot: the side that left
  // the plot before it runs to the edge, as at a pole.
  bool turnsBeyond = false;
};

// By the index of the pair's first column.
using PairLooks = std::map<std::size_t, PairLook>;

// Fills curve.vertices and curve.pieces from curve.columns and the looks; finding where a side
// crosses the plot's edge evaluates through the probe.
void assemblePieces(SampledCurve& curve, const PairLooks& looks, Probe& probe,
                    const GraphMapping& mapping, long double width);
