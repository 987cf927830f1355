#include "GraphExport.h"

#include "FuncGraph.h"
#include "GraphScene.h"
#include "KurvoError.h"
#include "ScenePainter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

// The graph's pixels, as a screen of 96 dots per inch shows them.
constexpr int PixelsPerInch = 96;

bool writeFile(TFuncGraph& graph, QSaveFile& file, ExportFormat format) {
  switch (format) {
  case ExportFormat::Png:
    return QImageWriter(&file, "png").write(graph.ClipboardPicture());
  case ExportFormat::Svg:
    return file.write(svgDocument(graphScene(graph))) >= 0;
  case ExportFormat::Pdf:
    return writePdf(graphScene(graph), file);
  }
  return false;
}

} // namespace

std::optional<ExportFormat> exportFormatOf(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix == QLatin1String("png")) return ExportFormat::Png;
  if (suffix == QLatin1String("svg")) return ExportFormat::Svg;
  if (suffix == QLatin1String("pdf")) return ExportFormat::Pdf;
  return std::nullopt;
}

// The generator states its size in millimetres; the picture's size is its pixels, so the
// root element's width and height are written as those.
QByteArray svgDocument(const GraphScene& scene) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(PixelsPerInch);
  generator.setSize(scene.size);
  generator.setViewBox(QRect(QPoint(0, 0), scene.size));
  generator.setTitle(QStringLiteral("Kurvo"));
  {
    QPainter painter(&generator);
    paintScene(scene, painter);
  }
  QString svg = QString::fromUtf8(buffer.data());
  static const QRegularExpression rootSize(QStringLiteral(R"(<svg width="[^"]*" height="[^"]*")"));
  svg.replace(rootSize, QStringLiteral(R"(<svg width="%1" height="%2")")
                            .arg(scene.size.width())
                            .arg(scene.size.height()));
  return svg.toUtf8();
}

bool writePdf(const GraphScene& scene, QIODevice& device) {
  QPdfWriter writer(&device);
  writer.setCreator(QStringLiteral("Kurvo"));
  writer.setResolution(PixelsPerInch);
  const QSizeF inches = QSizeF(scene.size) / PixelsPerInch;
  writer.setPageSize(
      QPageSize(inches, QPageSize::Inch, QStringLiteral("Kurvo"), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  paintScene(scene, painter);
  return painter.end();
}

void ExportGraph(TFuncGraph& graph, const QString& fileName, ExportFormat format) {
  QSaveFile file(fileName);
  // A write that fails while the last buffered bytes go out shows only in the flush: the
  // commit alone would rename the cut-off file over the old one.
  if (!file.open(QIODevice::WriteOnly) || !writeFile(graph, file, format) || !file.flush() ||
      !file.commit())
    throw KurvoError(QStringLiteral("%1 に書き込めません").arg(fileName));
}
