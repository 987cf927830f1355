// data_bench: what 100 000 points cost on their way from a CSV text into the document and back:
// the text read into a set, the model with the set written into an empty text (a save to a new
// file, and every check whether the graph changed) and over its own text (a save over the
// opened file), the text read back into a model, the same through a file on disk, and a straight
// line fitted to the points. Two texts: values as a logger writes them (six digits) and values
// with all seventeen. The first text measured also pays for the first use of large blocks of
// memory: glibc maps them anew from the system until its threshold has grown past their size.
#include "DelimitedText.h"
#include "FrameTimes.h"
#include "GraphDocument.h"
#include "GraphModel.h"
#include "IniFile.h"
#include "LeastSquares.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

constexpr int Points = 100000;
constexpr int Repetitions = 10;

QByteArray csvText(const char* format) {
  QByteArray text = "t,signal\n";
  char line[128];
  for (int i = 0; i < Points; ++i) {
    const double x = i * 0.001;
    const double y = std::exp(-x / 40) * std::sin(3 * x) + 1e-3 * std::cos(977.0 * i);
    std::snprintf(line, sizeof line, format, x, y);
    text += line;
  }
  return text;
}

QByteArray written(const GraphModel& model, IniFile ini = IniFile()) {
  WriteGraphModel(ini, model);
  return ini.Contents();
}

void report(const char* what, const FrameTimes& t) {
  std::printf("  %-36s %9.2f ms %9.2f ms\n", what, t.fastest, t.median);
}

void measure(const char* name, const char* format) {
  const QByteArray csv = csvText(format);
  GraphModel model = GraphModel::NewGraph();
  model.dataSets = readDelimitedText(QByteArrayView(csv)).sets;
  if (model.dataSets.size() != 1 || model.dataSets[0].points.size() != std::size_t(Points)) {
    std::printf("%s: the text did not read as %d points\n", name, Points);
    return;
  }
  const QByteArray document = written(model);
  const IniFile parsed = IniFile::FromBytes(document);
  std::printf("%s: %d points, CSV %lld bytes, document %lld bytes; %d runs each   fastest"
              "      median\n",
              name, Points, static_cast<long long>(csv.size()),
              static_cast<long long>(document.size()), Repetitions);
  report("import from the CSV text",
         timeFrames(Repetitions, [&](int) { readDelimitedText(QByteArrayView(csv)); }));
  report("write into an empty document", timeFrames(Repetitions, [&](int) { written(model); }));
  report("write over its own document",
         timeFrames(Repetitions, [&](int) { written(model, parsed); }));
  report("read back (parse and read)", timeFrames(Repetitions, [&](int) {
           GraphModel read = GraphModel::NewGraph();
           ReadGraphModel(IniFile::FromBytes(document), read);
         }));
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("data.kvx"));
  report("save to a file", timeFrames(Repetitions, [&](int) { SaveGraphDocument(file, model); }));
  report("load from the file", timeFrames(Repetitions, [&](int) {
           GraphModel read = GraphModel::NewGraph();
           LoadGraphDocument(file, read);
         }));
  report("copy the model (an undo snapshot)", timeFrames(Repetitions, [&](int) {
           const GraphModel copy = model;
           (void)copy;
         }));
  const std::vector<double> x = model.dataSets[0].points.xs();
  const std::vector<double> y = model.dataSets[0].points.ys();
  report("fit a*x+b (exact, QR)", timeFrames(Repetitions, [&](int) {
           fitLeastSquares(
               pointwiseModel([](double v, std::span<const double> p) { return p[0] * v + p[1]; }),
               x, y, std::vector<double>{1, 0});
         }));
  report("fit a*exp(-b*x)*sin(c*x) (LM)", timeFrames(Repetitions, [&](int) {
           fitLeastSquares(pointwiseModel([](double v, std::span<const double> p) {
                             return p[0] * std::exp(-p[1] * v) * std::sin(p[2] * v);
                           }),
                           x, y, std::vector<double>{0.8, 0.03, 2.9});
         }));
}

} // namespace

int main(int argc, char** argv) {
  const QCoreApplication application(argc, argv);
  measure("six digits", "%.6g,%.6g\n");
  measure("seventeen digits", "%.17g,%.17g\n");
  return 0;
}
