// Writing the graph as Copy shows it into a file: a PNG of the screen's picture, or an SVG or
// PDF vector picture of its scene, the size of the graph in pixels.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;
class TFuncGraph;
struct GraphScene;

enum class ExportFormat { Png, Svg, Pdf };

// The format that a file name's suffix (.png, .svg, .pdf, in any case) names.
std::optional<ExportFormat> exportFormatOf(const QString& fileName);

// An SVG document whose width, height and view box are the scene's size in pixels.
QByteArray svgDocument(const GraphScene& scene);
// A one-page PDF document, the page the scene's size at 96 pixels per inch without margins.
// False when the device cannot take it.
bool writePdf(const GraphScene& scene, QIODevice& device);

// Writes the file whole or not at all, so that a failed write leaves an existing file as it
// was; then it raises KurvoError "NAME に書き込めません".
void ExportGraph(TFuncGraph& graph, const QString& fileName, ExportFormat format);
