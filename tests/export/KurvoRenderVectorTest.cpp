// kurvo-render writing vector pictures: OUT ending in .svg or .pdf.
#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QFile>
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
