// kurvo-render as a user runs it: a separate process on document files, checked by the files
// it writes, its standard error and its exit status. Its picture must be the one the graph
// control composes for the same document.
#include "FuncGraph.h"
#include "IniFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString toolPath = QStringLiteral(KURVO_RENDER_TOOL);
const QString defaultX = QStringLiteral(KURVO_TEST_DATA "/default-x.kvx");

struct ToolRun {
  int exitCode = -1;
  QString errors;
};

ToolRun runTool(const QStringList& arguments) {
  QProcess process;
  process.start(toolPath, arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class KurvoRenderTest : public ::testing::Test {
protected:
  QString path(const QString& name) const { return dir.filePath(name); }

  // Installs the build into prefix/ of the test's folder.
  void install() const {
    QProcess install;
    install.start(QStringLiteral(CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                   QStringLiteral("--prefix"), path(QStringLiteral("prefix"))});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
  }

  QTemporaryDir dir;
};

TEST_F(KurvoRenderTest, DrawsTheDefaultGraphLikeTheGraphControl) {
  ASSERT_EQ(runTool({defaultX, path(QStringLiteral("x.png"))}).exitCode, 0);
  const QImage picture(path(QStringLiteral("x.png")));
  ASSERT_EQ(picture.size(), QSize(336, 316));

  TFuncGraph graph;
  graph.resize(336, 316);
  graph.UpdateGraph();
  // The diagonal y = x in the first slot's blue ANDed over the light yellow, the axes in black
  // through the origin.
  const QRgb blue = qRgb(0, 0, 224);
  for (const long double v : {-2.5L, -1.0L, 0.5L, 2.0L})
    EXPECT_EQ(picture.pixel(graph.XToPixel(v), graph.YToPixel(v)), blue) << double(v);
  EXPECT_EQ(picture.pixel(graph.XToPixel(-2.5L), graph.YToPixel(0)), qRgb(0, 0, 0));
  EXPECT_EQ(picture.pixel(graph.XToPixel(0), graph.YToPixel(-2.5L)), qRgb(0, 0, 0));
  EXPECT_EQ(picture.pixel(graph.XToPixel(1), graph.YToPixel(-2)), qRgb(255, 255, 224));
}

TEST_F(KurvoRenderTest, SizeOptionSetsThePictureSize) {
  ASSERT_EQ(runTool({QStringLiteral("--size"), QStringLiteral("120x90"), defaultX,
                     path(QStringLiteral("s.png"))})
                .exitCode,
            0);
  EXPECT_EQ(QImage(path(QStringLiteral("s.png"))).size(), QSize(120, 90));
  for (const char* bad : {"0x10", "10", "10x", "x10", "99999x10", "axb"})
    EXPECT_EQ(runTool({QStringLiteral("--size"), QString::fromLatin1(bad), defaultX,
                       path(QStringLiteral("t.png"))})
                  .exitCode,
              2)
        << bad;
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("t.png"))));
}

// The picture a screen of ratio R shows: R times the pixels, drawn on the device mapping.
TEST_F(KurvoRenderTest, ScaleOptionDrawsForADevicePixelRatio) {
  ASSERT_EQ(runTool({QStringLiteral("--size"), QStringLiteral("336x316"), QStringLiteral("--scale"),
                     QStringLiteral("2"), defaultX, path(QStringLiteral("x2.png"))})
                .exitCode,
            0);
  const QImage picture(path(QStringLiteral("x2.png")));
  ASSERT_EQ(picture.size(), QSize(672, 632));
  TFuncGraph graph;
  graph.resize(336, 316);
  graph.setRenderScale(2);
  graph.UpdateGraph();
  const GraphMapping& device = graph.DeviceMapping();
  for (const long double v : {-2.5L, -1.0L, 0.5L, 2.0L})
    EXPECT_EQ(picture.pixel(device.xToPixel(v), device.yToPixel(v)), qRgb(0, 0, 224)) << double(v);
  EXPECT_EQ(runTool({QStringLiteral("--scale"), QStringLiteral("1.5"), defaultX,
                     path(QStringLiteral("x15.png"))})
                .exitCode,
            0);
  EXPECT_EQ(QImage(path(QStringLiteral("x15.png"))).size(), QSize(504, 474));
  for (const char* bad : {"0.5", "9", "abc", "nan", "inf", "-2", ""}) {
    const ToolRun run = runTool({QStringLiteral("--scale"), QString::fromLatin1(bad), defaultX,
                                 path(QStringLiteral("t.png"))});
    EXPECT_EQ(run.exitCode, 2) << bad;
    EXPECT_TRUE(run.errors.contains(QStringLiteral("--scale takes a number from 1 to 8"))) << bad;
  }
  const ToolRun huge =
      runTool({QStringLiteral("--size"), QStringLiteral("16384x100"), QStringLiteral("--scale"),
               QStringLiteral("2"), defaultX, path(QStringLiteral("t.png"))});
  EXPECT_EQ(huge.exitCode, 2);
  EXPECT_TRUE(huge.errors.contains(QStringLiteral("at most 16384 pixels a side")));
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("t.png"))));
}

TEST_F(KurvoRenderTest, DocumentOutputIsANormalisedCopy) {
  ASSERT_EQ(runTool({defaultX, path(QStringLiteral("copy.kvx"))}).exitCode, 0);
  EXPECT_EQ(fileBytes(path(QStringLiteral("copy.kvx"))), fileBytes(defaultX));

  QFile sparse(path(QStringLiteral("sparse.kvx")));
  ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
  sparse.write("[margin]\r\nleft=$20\r\n");
  sparse.close();
  ASSERT_EQ(runTool({path(QStringLiteral("sparse.kvx")), path(QStringLiteral("n.kvx"))}).exitCode,
            0);
  const IniFile copy(path(QStringLiteral("n.kvx")));
  EXPECT_EQ(copy.ReadString(QStringLiteral("Margin"), QStringLiteral("Left"), QString()),
            QStringLiteral("32"));
  EXPECT_EQ(copy.ReadString(QStringLiteral("Margin"), QStringLiteral("Bottom"), QString()),
            QStringLiteral("20"));
  EXPECT_EQ(copy.ReadString(QStringLiteral("GraphRange"), QStringLiteral("XMax"), QString()),
            QStringLiteral("0"));
}

TEST_F(KurvoRenderTest, FailuresAndTheirExitStatus) {
  ToolRun run = runTool({path(QStringLiteral("none.kvx")), path(QStringLiteral("a.png"))});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.errors.contains(QStringLiteral("kurvo-render: ") +
                                  path(QStringLiteral("none.kvx")) +
                                  QStringLiteral(" を読めません")))
      << run.errors.toStdString();
  QFile junk(path(QStringLiteral("junk.kvx")));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not a graph\r\n");
  junk.close();
  run = runTool({junk.fileName(), path(QStringLiteral("b.kvx"))});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(
      run.errors.contains(junk.fileName() + QStringLiteral(" は Kurvo のファイルではありません")))
      << run.errors.toStdString();
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("b.kvx"))));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.kvx")));
  EXPECT_EQ(runTool({path(QStringLiteral("folder.kvx")), path(QStringLiteral("b.png"))}).exitCode,
            2);
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("b.png"))));
  EXPECT_EQ(runTool({defaultX, path(QStringLiteral("missing/a.png"))}).exitCode, 1);
  run = runTool({defaultX, path(QStringLiteral("missing/a.kvx"))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.contains(QStringLiteral(" に書き込めません"))) << run.errors.toStdString();
  EXPECT_EQ(runTool({defaultX, path(QStringLiteral("a.bmp"))}).exitCode, 2);
  EXPECT_EQ(runTool({defaultX}).exitCode, 2);
  EXPECT_EQ(runTool({QStringLiteral("--help")}).exitCode, 0);
}

TEST_F(KurvoRenderTest, FormulaErrorsAreReportedAndThePictureIsWritten) {
  QByteArray document = fileBytes(defaultX);
  document.replace("Func02Formula=", "Func02Formula=1/0");
  QFile file(path(QStringLiteral("bad.kvx")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(document);
  file.close();
  const ToolRun run = runTool({path(QStringLiteral("bad.kvx")), path(QStringLiteral("bad.png"))});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.errors.startsWith(QStringLiteral("kurvo-render: f2: ")))
      << run.errors.toStdString();
  EXPECT_FALSE(run.errors.contains(QStringLiteral("f1:")));
  EXPECT_EQ(QImage(path(QStringLiteral("bad.png"))).size(), QSize(336, 316));
}

// The tool's engine knows pi: sin(pi*x) draws as the same formula with the number written out,
// and not as the flat sin(0*x).
TEST_F(KurvoRenderTest, PiIsKnownToTheFormulas) {
  const auto render = [this](const QByteArray& formula) {
    QByteArray document = fileBytes(defaultX);
    document.replace("Func01Formula=x\r\n", "Func01Formula=" + formula + "\r\n");
    const QString name = path(QString::fromLatin1(formula.toHex()));
    QFile file(name + QStringLiteral(".kvx"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(document);
    file.close();
    const ToolRun run = runTool({file.fileName(), name + QStringLiteral(".png")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
    return QImage(name + QStringLiteral(".png"));
  };
  const QImage named = render("sin(pi*x)");
  ASSERT_EQ(named.size(), QSize(336, 316));
  EXPECT_EQ(named, render("sin(3.141592653589793*x)"));
  EXPECT_NE(named, render("sin(0*x)"));
}

// The installed program finds the installed engine: a curve is drawn and no formula fails.
// Without it, the program still starts.
TEST_F(KurvoRenderTest, InstalledProgramLoadsTheInstalledEngineAndRunsWithoutIt) {
  ASSERT_NO_FATAL_FAILURE(install());
  for (const char* file : {"bin/kurvo", "bin/kurvo-render", "bin/evalon", "share/kurvo/KURVO.HLP",
                           "share/applications/kurvo.desktop"})
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("prefix/") + QLatin1String(file)))) << file;

  QProcess render;
  render.start(path(QStringLiteral("prefix/bin/kurvo-render")),
               {defaultX, path(QStringLiteral("installed.png"))});
  ASSERT_TRUE(render.waitForFinished(60000));
  EXPECT_EQ(render.exitCode(), 0);
  EXPECT_FALSE(render.readAllStandardError().contains("f1:"));
  TFuncGraph graph;
  graph.resize(336, 316);
  graph.UpdateGraph();
  EXPECT_EQ(
      QImage(path(QStringLiteral("installed.png"))).pixel(graph.XToPixel(1), graph.YToPixel(1)),
      qRgb(0, 0, 224));

  // Without the engine the program still runs: the graph is drawn without its curve, and the
  // formula's failure is reported.
  ASSERT_TRUE(QFile::remove(path(QStringLiteral("prefix/lib/libEvalon.so"))));
  render.start(path(QStringLiteral("prefix/bin/kurvo-render")),
               {defaultX, path(QStringLiteral("no-engine.png"))});
  ASSERT_TRUE(render.waitForFinished(60000));
  EXPECT_EQ(render.exitCode(), 0);
  EXPECT_TRUE(render.readAllStandardError().contains(
      "f1: the engine library libEvalon.so could not be loaded"));
  const QImage withoutEngine(path(QStringLiteral("no-engine.png")));
  EXPECT_EQ(withoutEngine.pixel(graph.XToPixel(1), graph.YToPixel(1)), qRgb(255, 255, 224));
  EXPECT_EQ(withoutEngine.pixel(graph.XToPixel(1), graph.YToPixel(0)), qRgb(0, 0, 0));
}

// The install tells the desktop of the document type: its MIME type by the file's glob, the
// desktop entry that opens such files, and the caches refreshed where the tools exist.
TEST_F(KurvoRenderTest, InstallRegistersTheDocumentType) {
  ASSERT_NO_FATAL_FAILURE(install());
  const QByteArray type = "application/x-kurvo-graph";

  const QByteArray mime = fileBytes(path(QStringLiteral("prefix/share/mime/packages/kurvo.xml")));
  for (const QByteArray& part : {"<mime-type type=\"" + type + "\">",
                                 QByteArray("<glob pattern=\"*.kvx\"/>"),
                                 QByteArray("<comment>Kurvo graph</comment>"),
                                 QStringLiteral(u"<comment xml:lang=\"ja\">Kurvo のグラフ</comment>")
                                     .toUtf8(),
                                 QByteArray("<icon name=\"kurvo\"/>")})
    EXPECT_TRUE(mime.contains(part)) << part.toStdString();

  const QString entry = path(QStringLiteral("prefix/share/applications/kurvo.desktop"));
  const QByteArray desktop = fileBytes(entry);
  EXPECT_TRUE(desktop.contains("\nExec=kurvo %f\n"));
  EXPECT_TRUE(desktop.contains("\nMimeType=" + type + ";\n"));

  const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  if (!validate.isEmpty()) {
    QProcess check;
    check.start(validate, {entry});
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
  }
  if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
    EXPECT_TRUE(fileBytes(path(QStringLiteral("prefix/share/mime/globs2"))).contains(":" + type + ":*.kvx"));
}

} // namespace

namespace {

class KurvoRenderSetTest : public KurvoRenderTest {
protected:
  // The default graph with formula a*x; the given sections follow.
  QString document(const QByteArray& formula, const QByteArray& sections) {
    QByteArray text = fileBytes(defaultX);
    text.replace("Func01Formula=x\r\n", "Func01Formula=" + formula + "\r\n");
    const QString name = path(QStringLiteral("p%1.kvx").arg(++documents));
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text + sections);
    return name;
  }
  // Renders with the arguments before IN and OUT; a null picture when it failed.
  QImage render(const QString& input, const QStringList& options) {
    const QString output = path(QStringLiteral("r%1.png").arg(++pictures));
    const ToolRun run = runTool(options + QStringList{input, output});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
    return QImage(output);
  }
  int documents = 0;
  int pictures = 0;
};

TEST_F(KurvoRenderSetTest, TheDocumentsValuesDrawAndSetOverridesThemForTheRun) {
  const QString saved =
      document("a*x", "[Parameter01]\r\nName=a\r\nValue=0.5\r\nMin=-10\r\nMax=10\r\n");
  const QImage half = render(saved, {});
  ASSERT_FALSE(half.isNull());
  TFuncGraph graph;
  graph.resize(336, 316);
  graph.UpdateGraph();
  const QRgb blue = qRgb(0, 0, 224);
  EXPECT_EQ(half.pixel(graph.XToPixel(2), graph.YToPixel(1)), blue);

  const QImage twice = render(saved, {QStringLiteral("--set"), QStringLiteral("a=2")});
  EXPECT_NE(twice, half);
  EXPECT_EQ(twice.pixel(graph.XToPixel(1), graph.YToPixel(2)), blue);
  // The last of repeated settings counts; a name the document lacks is added.
  EXPECT_EQ(render(saved, {"--set", "a=7", "--set", "a=2.0"}), twice);
  EXPECT_EQ(render(document("a*x*b", ""), {"--set", "a=2", "--set", "b=1"}), twice);
  EXPECT_EQ(render(document("k#*x", ""), {"--set", "k#=2e0"}), twice);

  // The copy of the document holds the value of the run.
  ASSERT_EQ(runTool({"--set", "a=2", saved, path(QStringLiteral("copy.kvx"))}).exitCode, 0);
  EXPECT_TRUE(fileBytes(path(QStringLiteral("copy.kvx"))).contains("Name=a\r\nValue=2\r\n"));
}

TEST_F(KurvoRenderSetTest, ABadSettingIsAUsageError) {
  const QString saved = document("a*x", "");
  const QString output = path(QStringLiteral("bad.png"));
  for (const char* bad : {"a", "=2", "a=", "x=2", "pi=3", "s$=1", "a[1]=2", "a=abc", "a=nan",
                          "a=inf", "a=1e999", "a=2,5", "1a=2", "a b=2"}) {
    const ToolRun run = runTool({QStringLiteral("--set"), QString::fromUtf8(bad), saved, output});
    EXPECT_EQ(run.exitCode, 2) << bad;
    EXPECT_TRUE(run.errors.startsWith(QStringLiteral("kurvo-render: --set takes NAME=VALUE")))
        << run.errors.toStdString();
  }
  EXPECT_EQ(runTool({saved, output, QStringLiteral("--set")}).exitCode, 2);
  EXPECT_FALSE(QFile::exists(output));
  // A graph holds 32 parameters; a setting that would be the 33rd is refused.
  QByteArray sum = "p0";
  for (int n = 1; n < 32; ++n)
    sum += "+p" + QByteArray::number(n);
  const ToolRun full = runTool({"--set", "q=1", document(sum, ""), output});
  EXPECT_EQ(full.exitCode, 2);
  EXPECT_TRUE(full.errors.contains(QStringLiteral("at most 32 parameters")))
      << full.errors.toStdString();
  EXPECT_FALSE(QFile::exists(output));
}

// The formulas' errors are told once, also when settings draw the curves again.
TEST_F(KurvoRenderSetTest, FormulaErrorsAreToldOnceWithSettings) {
  const QString saved = document("a*x", "");
  QByteArray text = fileBytes(saved);
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.replace("Func02Formula=", "Func02Formula=1/0"));
  file.close();
  const ToolRun run =
      runTool({"--set", "a=2", "--set", "b=3", saved, path(QStringLiteral("e.png"))});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errors.count(QStringLiteral("f2:")), 1) << run.errors.toStdString();
}

} // namespace
