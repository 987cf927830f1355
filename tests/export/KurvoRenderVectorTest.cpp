// kurvo-render writing vector pictures (OUT ending in .svg or .pdf), and the legend in each output.
#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace {

const QString toolPath = QStringLiteral(KURVO_RENDER_TOOL);
const QString defaultX = QStringLiteral(KURVO_TEST_DATA "/default-x.kvx");

int runTool(const QStringList& arguments) {
  QProcess process;
  process.start(toolPath, arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  return process.exitCode();
}

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(KurvoRenderVector, WritesSvgAndPdfOfTheGraphsSize) {
  QTemporaryDir dir;
  const QString svg = dir.filePath(QStringLiteral("x.SVG"));
  ASSERT_EQ(runTool({QStringLiteral("--size"), QStringLiteral("200x150"), defaultX, svg}), 0);
  const QByteArray svgBytes = fileBytes(svg);
  EXPECT_TRUE(svgBytes.contains(R"(<svg width="200" height="150")")) << svgBytes.left(400).data();
  EXPECT_TRUE(svgBytes.contains(R"(viewBox="0 0 200 150")"));
  EXPECT_EQ(QSvgRenderer(svgBytes).viewBox(), QRect(0, 0, 200, 150));
  // The diagonal of the first slot.
  EXPECT_TRUE(svgBytes.contains(R"(stroke="#0000e0")"));

  const QString pdf = dir.filePath(QStringLiteral("x.pdf"));
  ASSERT_EQ(runTool({defaultX, pdf}), 0);
  EXPECT_TRUE(fileBytes(pdf).startsWith("%PDF-"));

  EXPECT_EQ(runTool({defaultX, dir.filePath(QStringLiteral("missing/x.svg"))}), 1);
  EXPECT_EQ(runTool({defaultX, dir.filePath(QStringLiteral("missing/x.pdf"))}), 1);
  EXPECT_EQ(runTool({defaultX, dir.filePath(QStringLiteral("x.eps"))}), 2);
}

// The legend a document shows is in every picture, and in the copy of the document.
TEST(KurvoRenderVector, DrawsTheLegendOfTheDocument) {
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("legend.kvx"));
  const QByteArray options = "[Options]\r\nLegend=1\r\nLegendCorner=2\r\n";
  QFile file(input);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(fileBytes(defaultX) + options);
  file.close();
  ASSERT_EQ(runTool({defaultX, dir.filePath(QStringLiteral("plain.png"))}), 0);
  for (const char* out : {"legend.png", "legend.svg", "legend.kvx"})
    ASSERT_EQ(runTool({input, dir.filePath(QLatin1String(out))}), 0) << out;
  EXPECT_TRUE(fileBytes(dir.filePath(QStringLiteral("legend.svg"))).contains("f1: x"));
  EXPECT_TRUE(fileBytes(dir.filePath(QStringLiteral("legend.kvx"))).endsWith(options));
  // The box stands in the bottom left quarter, and nowhere else does the picture differ.
  const QImage plain(dir.filePath(QStringLiteral("plain.png")));
  const QImage legend(dir.filePath(QStringLiteral("legend.png")));
  ASSERT_EQ(plain.size(), legend.size());
  QRect differing;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x)
      if (plain.pixel(x, y) != legend.pixel(x, y)) differing |= QRect(x, y, 1, 1);
  EXPECT_FALSE(differing.isEmpty());
  EXPECT_TRUE(
      QRect(0, plain.height() / 2, plain.width() / 2, plain.height() / 2).contains(differing));
}

TEST(KurvoRenderVector, AFailedWriteLeavesAnExistingOutputAsItWas) {
  QTemporaryDir dir;
  for (const char* name : {"x.png", "x.svg", "x.pdf"}) {
    QFile existing(dir.filePath(QLatin1String(name)));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("kept");
    existing.close();
    int exitCode = 0;
    {
      const FileSizeLimit limit(64);
      exitCode = runTool(
          {QStringLiteral("--size"), QStringLiteral("400x300"), defaultX, existing.fileName()});
    }
    EXPECT_EQ(exitCode, 1) << name;
    EXPECT_EQ(fileBytes(existing.fileName()), "kept") << name;
  }
}

} // namespace
