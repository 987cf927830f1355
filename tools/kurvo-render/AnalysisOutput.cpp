#include "AnalysisOutput.h"

#include "CalculusText.h"
#include "FuncGraph.h"
#include "GraphCurves.h"
#include "NumberFormat.h"

#include <QStringList>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

const char* kindName(PointKind kind) {
  switch (kind) {
  case PointKind::Root:
    return "root";
  case PointKind::Minimum:
    return "min";
  case PointKind::Maximum:
    return "max";
  case PointKind::YIntercept:
    return "yintercept";
  case PointKind::Intersection:
    return "intersection";
  }
  return "";
}

std::string slotsOf(const CurvePoint& point) {
  std::string text = std::to_string(point.slot);
  if (point.otherSlot != 0) text += "," + std::to_string(point.otherSlot);
  return text;
}

} // namespace

std::optional<TableSpan> parseTableSpan(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 3) return std::nullopt;
  const std::optional<long double> start = textToFloat(parts[0]);
  const std::optional<long double> step = textToFloat(parts[1]);
  const std::optional<std::int32_t> count = textToInteger(parts[2]);
  if (!start || !step || !count) return std::nullopt;
  const TableSpan span{static_cast<double>(*start), static_cast<double>(*step), *count};
  if (!span.valid()) return std::nullopt;
  return span;
}

void printPoints(const TFuncGraph& graph) {
  for (const CurvePoint& p : graphPoints(graph))
    std::printf("%s\t%s\t%.17g\t%.17g\n", kindName(p.kind), slotsOf(p).c_str(), p.x, p.y);
}

void printTable(const TFuncGraph& graph, const TableSpan& span) {
  const GraphTable table = graphTable(graph, span);
  std::printf("%s", qUtf8Printable(table.runningName));
  for (const TableColumn& column : table.columns)
    std::printf("\t%s", qUtf8Printable(column.name));
  std::printf("\n");
  for (const TableRow& row : table.rows) {
    std::printf("%.17g", row.x);
    for (const TableCell& cell : row.cells) {
      if (cell.value)
        std::printf("\t%.17g", *cell.value);
      else
        std::printf("\t");
    }
    std::printf("\n");
  }
}

namespace {

std::optional<double> boundOf(const QString& text) {
  const QString bound = text.trimmed();
  constexpr double Infinity = std::numeric_limits<double>::infinity();
  if (bound == QLatin1String("inf") || bound == QLatin1String("+inf")) return Infinity;
  if (bound == QLatin1String("-inf")) return -Infinity;
  const std::optional<long double> value = textToFloat(bound);
  if (!value || !std::isfinite(static_cast<double>(*value))) return std::nullopt;
  return static_cast<double>(*value);
}

} // namespace

std::optional<std::pair<double, double>> parseBounds(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 2) return std::nullopt;
  const std::optional<double> a = boundOf(parts[0]);
  const std::optional<double> b = boundOf(parts[1]);
  if (!a || !b) return std::nullopt;
  return std::pair{*a, *b};
}

void printIntegrals(const TFuncGraph& graph, double a, double b) {
  for (const Curve& curve : graphCurves(graph)) {
    const IntegralResult r = integral(curve.f, a, b);
    if (r.ok())
      std::printf("%d\t%.17g\t%.17g\n", curve.slot, r.value, r.error);
    else
      std::printf("%d\t\t\t%s\n", curve.slot, qUtf8Printable(IntegralReason(r)));
  }
}

void printSlopes(const TFuncGraph& graph, double x) {
  for (const Curve& curve : graphCurves(graph)) {
    const DerivativeResult d = derivative(curve.f, x);
    if (d.ok())
      std::printf("%d\t%.17g\n", curve.slot, d.value);
    else
      std::printf("%d\t\t%s\n", curve.slot, qUtf8Printable(DerivativeReason(d)));
  }
}
