// kurvo-render [--size WxH] IN.kvx OUT: loads a graph document into a graph control of the
// given client size without showing a window, draws its curves and writes OUT by its
// extension. See helpText below.
#include "Evalon.h"
#include "FontSubstitutes.h"
#include "FuncGraph.h"
#include "GraphDocument.h"
#include "GraphExport.h"
#include "KurvoError.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>
#include <optional>

namespace {

constexpr int ExitWriteFailed = 1;
constexpr int ExitUsage = 2; // also an IN that is unreadable or no document
constexpr int MaxSide = 16384;

const char* const helpText = R"HELP(Usage: kurvo-render [--size WxH] IN.kvx OUT
Loads the graph document IN.kvx (IN without an extension, or with another one, names
IN.kvx) into a graph of W x H pixels (default 336 x 316, the main window's graph), draws
its curves without any display, and writes OUT by its extension:
  .png   the picture as Kurvo copies it: background and axes, the curves, the labels
  .svg   the same picture as an SVG vector picture, W x H pixels
  .pdf   the same picture as a one-page PDF document, the page W x H pixels at 96 dpi
  .kvx   the loaded graph saved as a document again (a normalised copy)
Missing keys of IN take the defaults of a new graph. A formula that fails to evaluate is
reported on standard error as "kurvo-render: fN: MESSAGE" and the picture is still written.
Exit status: 0 OUT was written, 1 OUT could not be written, 2 usage error, or IN unreadable
or not a graph document.
)HELP";

struct Options {
  QSize size = TFuncGraph::StartSize;
  QString input;
  QString output;
};

void usageError(const char* message) {
  std::fprintf(stderr, "kurvo-render: %s\nTry 'kurvo-render --help'.\n", message);
}

std::optional<QSize> parseSize(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('x'));
  if (parts.size() != 2) return std::nullopt;
  bool wideOk = false;
  bool highOk = false;
  const int width = parts[0].toInt(&wideOk);
  const int height = parts[1].toInt(&highOk);
  if (!wideOk || !highOk || width < 1 || height < 1 || width > MaxSide || height > MaxSide)
    return std::nullopt;
  return QSize(width, height);
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
    } else if (arguments[i].startsWith(QLatin1Char('-')) && arguments[i].size() > 1) {
      usageError("unknown option");
      return std::nullopt;
    } else {
      files << arguments[i];
    }
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

int render(const Options& options) {
  TEvalon evalon;
  const bool engineLoaded = evalon.LoadEngine();
  TFuncGraph graph;
  graph.setEvalon(&evalon);
  graph.resize(options.size);
  graph.OnFormulaError = [&evalon, engineLoaded](TFuncGraph*, std::int32_t slot) {
    reportFormulaError(evalon, engineLoaded, slot);
  };
  graph.setGraphName(options.input);
  try {
    graph.LoadFromFile();
  } catch (const KurvoError& error) {
    std::fprintf(stderr, "kurvo-render: %s\n", qPrintable(error.message()));
    return ExitUsage;
  }
  return writeOutput(graph, options.output) ? 0 : ExitWriteFailed;
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
  if (!exportFormatOf(options->output) && suffix != QLatin1String("kvx")) {
    usageError("OUT must end in .png, .svg, .pdf or .kvx");
    return ExitUsage;
  }
  return render(*options);
}
