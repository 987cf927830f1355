// The curve of a function slot, for its kind: the one place that knows which class draws which
// kind of slot.
#pragma once

#include "FuncFormula.h"
#include "FunctionCurve.h"
#include "PathCurve.h"
#include "RelationCurve.h"

class TEvalon;

// Calls use with the curve of a used slot, evaluated through the binding (which may be
// missing), and gives back what use gives. The curve works on the slot itself, so that drawing
// leaves its error state on the slot; consumers that must not touch the slot's state pass a
// copy. The curve lives on the stack for the call: drawing asks for one per slot on every frame,
// and a curve is no more than the slot and the binding.
template <class Use> decltype(auto) withCurve(TFormula& slot, TEvalon* evalon, Use&& use) {
  if (slot.Kind == CurveKind::Function) {
    FunctionCurve curve(slot, evalon);
    return use(static_cast<GraphCurve&>(curve));
  }
  if (slot.Kind == CurveKind::Relation) {
    RelationCurve curve(slot, evalon);
    return use(static_cast<GraphCurve&>(curve));
  }
  PathCurve curve(slot, evalon);
  return use(static_cast<GraphCurve&>(curve));
}
