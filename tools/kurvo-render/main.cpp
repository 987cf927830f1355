// kurvo-render [--size WxH] [--scale R] IN.kvx OUT: loads a graph document into a graph control of
// the given client size without showing a window, draws its curves and writes OUT by its extension;
// with --analyse or --table it prints what the analysis finds instead. See helpText below.
#include "AnalysisOutput.h"
#include "Evalon.h"
#include "FontSubstitutes.h"
#include "FuncGraph.h"
#include "GraphDocument.h"
#include "GraphExport.h"
#include "KurvoError.h"
#include "NumberFormat.h"
#include "ParameterNames.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int ExitWriteFailed = 1;
constexpr int ExitUsage = 2; // also an IN that is unreadable or no document
constexpr int MaxSide = 16384;
constexpr double MaxScale = 8;

const char* const helpText =
    R"HELP(Usage: kurvo-render [--size WxH] [--scale R] [--set NAME=VALUE]... IN.kvx OUT
       kurvo-render [--size WxH] [--set NAME=VALUE]... --analyse IN.kvx
       kurvo-render [--size WxH] [--set NAME=VALUE]... --table START,STEP,COUNT IN.kvx
       kurvo-render [--set NAME=VALUE]... --integrate A,B IN.kvx
       kurvo-render [--set NAME=VALUE]... --slope X IN.kvx
Loads the graph document IN.kvx (IN without an extension, or with another one, names
IN.kvx) into a graph of W x H pixels (default 336 x 316, the main window's graph), draws
its curves without any display, and writes OUT by its extension:
  .png   the picture as Kurvo copies it: background and axes, the curves, the legend
         when the document shows one, the labels
  .svg   the same picture as an SVG vector picture, W x H pixels
  .pdf   the same picture as a one-page PDF document, the page W x H pixels at 96 dpi
  .kvx   the loaded graph saved as a document again (a normalised copy)
--scale R draws the PNG as a screen of device pixel ratio R (a number from 1 to 8) shows
the graph: R times the pixels in each direction, lines and text as finely as that screen
(at most 16384 pixels a side).
The formulas' parameters take the values saved in IN; --set NAME=VALUE gives the parameter
NAME (such as a or k#) the value VALUE (a number such as -2.5 or 1e-3) for this run, and
may be repeated; a NAME the document does not hold is added. Missing keys of IN take the
defaults of a new graph. A formula that fails to evaluate is
reported on standard error as "kurvo-render: fN: MESSAGE" and the picture is still written.
--analyse prints the notable points of the curves over the document's x range, one per
line, "KIND<TAB>SLOTS<TAB>X<TAB>Y": KIND is root, min, max, yintercept (the value at x = 0)
or intersection, SLOTS a slot ("2") or two ("1,3"); sorted by SLOTS, then X, then Y. The
curves are scanned at four samples per pixel column of the graph's width (see --size) and
every point is refined to full double precision. Parametric, polar and x = f(y) curves give
where they cross the axes: root for the x axis, yintercept for the y axis.
--table prints a header naming the running value and the used slots' columns, and COUNT rows
(1 to 10000) for the running value START + n * STEP: x for y = f(x) slots ("fN": y), t for
parametric and polar slots ("fN.x", "fN.y"), y for x = f(y) slots ("fN": x). The first column
is named x, t or y when every used slot runs over it, otherwise v. A failed evaluation is an
empty field.
--integrate prints, for every used slot in slot order, "N<TAB>VALUE<TAB>ERROR": the integral
of fN from A to B (decimal numbers, or -inf and inf) by adaptive Gauss-Kronrod quadrature to
about 12 digits, and a bound of its error; or "N<TAB><TAB><TAB>MESSAGE" when it has no value
(the function fails inside, or a singularity cannot be integrated).
--slope prints "N<TAB>SLOPE", the derivative of fN at X (Richardson extrapolation of central
differences, checked from both sides), or "N<TAB><TAB>MESSAGE" where fN has no slope.
Numbers are written as "%.17g".
Exit status: 0 OUT was written (or the text printed, also when no point was found), 1 OUT
could not be written, 2 usage error, or IN unreadable or not a graph document.
)HELP";

// A parameter value given on the command line.
struct Setting {
  QString name;
  double value;
};

struct Options {
  QSize size = TFuncGraph::StartSize;
  double scale = 1;
  std::vector<Setting> settings;
  QString input;
  QString output;
  bool analyse = false;
  std::optional<TableSpan> table;
  std::optional<std::pair<double, double>> integrate;
  std::optional<double> slope;

  bool printsText() const { return analyse || table || integrate || slope; }
};

void usageError(const char* message) {
  std::fprintf(stderr, "kurvo-render: %s\nTry 'kurvo-render --help'.\n", message);
}

std::optional<QSize> parseSize(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('x'));
  if (parts.size() != 2) return std::nullopt;
  const std::optional<std::int32_t> width = textToInteger(parts[0]);
  const std::optional<std::int32_t> height = textToInteger(parts[1]);
  if (!width || !height || *width < 1 || *height < 1 || *width > MaxSide || *height > MaxSide)
    return std::nullopt;
  return QSize(*width, *height);
}

// --analyse, --table, --integrate and --slope print text instead of writing OUT: one of
// them, and IN alone.
std::optional<Options> textOptions(Options options, const QStringList& files) {
  const int texts = int(options.analyse) + int(options.table.has_value()) +
                    int(options.integrate.has_value()) + int(options.slope.has_value());
  if (texts > 1) {
    usageError("--analyse, --table, --integrate and --slope cannot be combined");
    return std::nullopt;
  }
  if (files.size() != 1) {
    usageError("--analyse, --table, --integrate and --slope need IN.kvx only");
    return std::nullopt;
  }
  options.input = files[0];
  return options;
}

// A device pixel ratio for the picture: a number from 1 to MaxScale.
std::optional<double> parseScale(const QString& text) {
  bool ok = false;
  const double scale = text.toDouble(&ok);
  if (!ok || !std::isfinite(scale) || scale < 1 || scale > MaxScale) return std::nullopt;
  return scale;
}

// The picture has R times the pixels of the graph in each direction; its sides are bounded as
// the graph's are, so that no scale asks for gigabytes.
bool scaledSizeFits(const QSize& size, double scale) {
  return std::lround(size.width() * scale) <= MaxSide &&
         std::lround(size.height() * scale) <= MaxSide;
}

// The argument of --set, NAME=VALUE: a parameter name and a finite number. False when it is
// not one; the reason has been reported.
bool takeSetting(const QString& text, Options& options) {
  const qsizetype equals = text.indexOf(QLatin1Char('='));
  const QString name = text.left(equals);
  const std::optional<long double> value =
      equals < 0 ? std::nullopt : textToFloat(text.mid(equals + 1));
  if (equals < 0 || !isParameterName(name) || !value || !std::isfinite(double(*value))) {
    usageError("--set takes NAME=VALUE: a parameter name such as a or k# and a finite number");
    return false;
  }
  options.settings.push_back({name, static_cast<double>(*value)});
  return true;
}

// Nothing when the command line is not usable; the reason has been reported.
std::optional<Options> parseOptions(const QStringList& arguments) {
  Options options;
  QStringList files;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--size") && i + 1 < arguments.size()) {
      const std::optional<QSize> size = parseSize(arguments[++i]);
      if (!size) {
        usageError("--size takes WxH, each from 1 to 16384");
        return std::nullopt;
      }
      options.size = *size;
    } else if (arguments[i] == QLatin1String("--analyse")) {
      options.analyse = true;
    } else if (arguments[i] == QLatin1String("--table") && i + 1 < arguments.size()) {
      options.table = parseTableSpan(arguments[++i]);
      if (!options.table) {
        usageError("--table takes START,STEP,COUNT, COUNT from 1 to 10000");
        return std::nullopt;
      }
    } else if (arguments[i] == QLatin1String("--integrate") && i + 1 < arguments.size()) {
      options.integrate = parseBounds(arguments[++i]);
      if (!options.integrate) {
        usageError("--integrate takes A,B: decimal numbers, or -inf and inf");
        return std::nullopt;
      }
    } else if (arguments[i] == QLatin1String("--slope") && i + 1 < arguments.size()) {
      const std::optional<long double> x = textToFloat(arguments[++i]);
      if (!x || !std::isfinite(static_cast<double>(*x))) {
        usageError("--slope takes X, a decimal number");
        return std::nullopt;
      }
      options.slope = static_cast<double>(*x);
    } else if (arguments[i] == QLatin1String("--scale") && i + 1 < arguments.size()) {
      const std::optional<double> scale = parseScale(arguments[++i]);
      if (!scale) {
        usageError("--scale takes a number from 1 to 8");
        return std::nullopt;
      }
      options.scale = *scale;
    } else if (arguments[i] == QLatin1String("--set") && i + 1 < arguments.size()) {
      if (!takeSetting(arguments[++i], options)) return std::nullopt;
    } else if (arguments[i].startsWith(QLatin1Char('-')) && arguments[i].size() > 1) {
      usageError("unknown option");
      return std::nullopt;
    } else {
      files << arguments[i];
    }
  }
  if (options.printsText()) return textOptions(options, files);
  if (!scaledSizeFits(options.size, options.scale)) {
    usageError("the picture at --scale R may be at most 16384 pixels a side");
    return std::nullopt;
  }
  if (files.size() != 2) {
    usageError("needs IN.kvx and OUT");
    return std::nullopt;
  }
  options.input = files[0];
  options.output = files[1];
  return options;
}

void reportFormulaError(const TEvalon& evalon, bool engineLoaded, int slot) {
  const QString message =
      engineLoaded ? evalon.ErrorMessage()
                   : QStringLiteral("the engine library libEvalon.so could not be loaded");
  std::fprintf(stderr, "kurvo-render: f%d: %s\n", slot,
               message.isEmpty() ? "error" : qPrintable(message));
}

// A graph has a handful of colours, and with a palette the PNG encoder handles a third of the
// bytes (a whole run is several times faster). Below 256 colours the palette holds every
// colour exactly; a picture with more keeps its true colours.
QImage pngPicture(const QImage& picture) {
  QImage indexed =
      picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
  return indexed.colorCount() < 256 ? indexed : picture;
}

// OUT ending in .svg or .pdf: the vector picture; nothing for any other OUT.
std::optional<bool> writeVectorOutput(TFuncGraph& graph, const QString& output) {
  const std::optional<ExportFormat> format = exportFormatOf(output);
  if (format != ExportFormat::Svg && format != ExportFormat::Pdf) return std::nullopt;
  try {
    ExportGraph(graph, output, *format);
  } catch (const KurvoError& error) {
    std::fprintf(stderr, "kurvo-render: %s\n", qPrintable(error.message()));
    return false;
  }
  return true;
}

bool writeOutput(TFuncGraph& graph, const QString& output) {
  if (const std::optional<bool> written = writeVectorOutput(graph, output)) return *written;
  const QString suffix = QFileInfo(output).suffix().toLower();
  if (suffix == QLatin1String("kvx")) {
    graph.setGraphName(output);
    try {
      graph.SaveToFile();
    } catch (const KurvoError& error) {
      std::fprintf(stderr, "kurvo-render: %s\n", qPrintable(error.message()));
      return false;
    }
    return true;
  }
  // Through a temporary file, flushed before it replaces OUT, so that a failed write leaves an
  // existing OUT as it was.
  QSaveFile file(output);
  QImageWriter writer(&file, "png");
  if (file.open(QIODevice::WriteOnly) && writer.write(pngPicture(graph.ClipboardPicture())) &&
      file.flush() && file.commit())
    return true;
  const QString reason =
      file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
  std::fprintf(stderr, "kurvo-render: cannot write %s: %s\n", qPrintable(output),
               qPrintable(reason));
  return false;
}

int writeResult(TFuncGraph& graph, const Options& options) {
  if (options.analyse)
    printPoints(graph);
  else if (options.table)
    printTable(graph, *options.table);
  else if (options.integrate)
    printIntegrals(graph, options.integrate->first, options.integrate->second);
  else if (options.slope)
    printSlopes(graph, *options.slope);
  else
    return writeOutput(graph, options.output) ? 0 : ExitWriteFailed;
  return 0;
}

// The values of --set, after the document's: a name the document lacks becomes a new row.
// False when the rows are full; the reason has been reported.
bool applySettings(TFuncGraph& graph, const std::vector<Setting>& settings) {
  for (const Setting& setting : settings) {
    const int index = graph.addParameter(setting.name);
    if (index < 0) {
      std::fprintf(stderr, "kurvo-render: --set %s: a graph holds at most %d parameters\n",
                   qPrintable(setting.name), GraphParameters::MaxCount);
      return false;
    }
    graph.setParameterValue(index, setting.value);
  }
  return true;
}

int render(const Options& options) {
  TEvalon evalon;
  const bool engineLoaded = evalon.LoadEngine();
  TFuncGraph graph;
  graph.setEvalon(&evalon);
  graph.resize(options.size);
  graph.setRenderScale(options.scale);
  const auto report = [&evalon, engineLoaded](TFuncGraph*, std::int32_t slot) {
    reportFormulaError(evalon, engineLoaded, slot);
  };
  // With settings, the formulas' errors are told once, by the drawing that uses them all.
  if (options.settings.empty()) graph.OnFormulaError = report;
  graph.setGraphName(options.input);
  try {
    graph.LoadFromFile();
  } catch (const KurvoError& error) {
    std::fprintf(stderr, "kurvo-render: %s\n", qPrintable(error.message()));
    return ExitUsage;
  }
  if (!options.settings.empty()) {
    if (!applySettings(graph, options.settings)) return ExitUsage;
    graph.OnFormulaError = report;
    graph.DrawFunctions();
  }
  return writeResult(graph, options);
}

// Qt's notes about the environment (a missing runtime folder and the like) would be mixed
// with the reports of formulas; only its errors are passed on.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "kurvo-render: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
      std::fputs(helpText, stdout);
      return 0;
    }
  }
  // Never a display: the graph is drawn into images only.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietMessages);
  QApplication application(argc, argv);
  installFontSubstitutes();
  const std::optional<Options> options = parseOptions(QApplication::arguments());
  if (!options) return ExitUsage;
  const QString suffix = QFileInfo(options->output).suffix().toLower();
  if (!options->printsText() && !exportFormatOf(options->output) &&
      suffix != QLatin1String("kvx")) {
    usageError("OUT must end in .png, .svg, .pdf or .kvx");
    return ExitUsage;
  }
  return render(*options);
}
