// kurvo-render --analyse and --table: the text a script reads, checked against closed forms.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

namespace {

using std::numbers::pi;

const QString toolPath = QStringLiteral(KURVO_RENDER_TOOL);

struct TextRun {
  int exitCode = -1;
  QStringList lines;
  QString errors;
};

struct Point {
  QString kind;
  QString slotList;
  double x;
  double y;
};

class KurvoRenderAnalysisTest : public ::testing::Test {
protected:
  // The default graph (x from -3 to 3) with the given formulas in slots 1, 2, ...
  QString document(const QList<QByteArray>& formulas) {
    QFile source(QStringLiteral(KURVO_TEST_DATA "/default-x.kvx"));
    EXPECT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    bytes.replace("Func01Formula=x\r\n", "Func01Formula=\r\n");
    for (int i = 0; i < formulas.size(); ++i) {
      const QByteArray key = "Func0" + QByteArray::number(i + 1) + "Formula=";
      bytes.replace(key + "\r\n", key + formulas[i] + "\r\n");
    }
    const QString name = dir.filePath(QStringLiteral("g%1.kvx").arg(++documents));
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return name;
  }

  static TextRun run(const QStringList& arguments) {
    QProcess process;
    process.start(toolPath, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    QString out = QString::fromUtf8(process.readAllStandardOutput());
    if (out.endsWith(QLatin1Char('\n'))) out.chop(1);
    return {process.exitCode(), out.isEmpty() ? QStringList() : out.split(QLatin1Char('\n')),
            QString::fromUtf8(process.readAllStandardError())};
  }

  std::vector<Point> points(const QList<QByteArray>& formulas) {
    const TextRun result = run({QStringLiteral("--analyse"), document(formulas)});
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    std::vector<Point> found;
    for (const QString& line : result.lines) {
      const QStringList fields = line.split(QLatin1Char('\t'));
      EXPECT_EQ(fields.size(), 4) << line.toStdString();
      if (fields.size() == 4)
        found.push_back({fields[0], fields[1], fields[2].toDouble(), fields[3].toDouble()});
    }
    return found;
  }

  QTemporaryDir dir;
  int documents = 0;
};

std::vector<double> xsOf(const std::vector<Point>& points, const QString& kind) {
  std::vector<double> xs;
  for (const Point& p : points)
    if (p.kind == kind) xs.push_back(p.x);
  return xs;
}

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double share) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], share * std::max(1.0, std::abs(expected[i]))) << i;
}

TEST_F(KurvoRenderAnalysisTest, CubicPointsInOrderAndInFull) {
  const TextRun result = run({QStringLiteral("--analyse"), document({"x^3-2*x"})});
  ASSERT_EQ(result.exitCode, 0);
  ASSERT_EQ(result.lines.size(), 6);
  // Seventeen significant digits: the exact double of the refined root.
  EXPECT_TRUE(result.lines[0].startsWith(QStringLiteral("root\t1\t-1.41421356237309")))
      << result.lines[0].toStdString();
  QStringList kinds;
  for (const QString& line : result.lines)
    kinds << line.section(QLatin1Char('\t'), 0, 0);
  EXPECT_EQ(kinds, QStringList({"root", "max", "root", "yintercept", "min", "root"}));

  const std::vector<Point> found = points({"x^3-2*x"});
  expectNear(xsOf(found, QStringLiteral("root")), {-std::sqrt(2.0), 0, std::sqrt(2.0)}, 1e-12);
  expectNear(xsOf(found, QStringLiteral("min")), {std::sqrt(2.0 / 3)}, 1e-9);
  expectNear(xsOf(found, QStringLiteral("max")), {-std::sqrt(2.0 / 3)}, 1e-9);
}

TEST_F(KurvoRenderAnalysisTest, ClosedFormsThroughTheEngine) {
  expectNear(xsOf(points({"cos(x)"}), QStringLiteral("root")), {-pi / 2, pi / 2}, 1e-12);
  expectNear(xsOf(points({"tan(x)"}), QStringLiteral("root")), {0}, 1e-12);
  expectNear(xsOf(points({"exp(x)-2"}), QStringLiteral("root")), {std::log(2.0)}, 1e-12);
  // pi is known to the tool's engine.
  expectNear(xsOf(points({"sin(pi*x/2)"}), QStringLiteral("root")), {-2, 0, 2}, 1e-12);
  EXPECT_TRUE(points({"1/x"}).empty());
  const std::vector<Point> steps = points({"floor(x)-0.5"});
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].kind, QStringLiteral("yintercept"));
  const std::vector<Point> square = points({"x^2"});
  expectNear(xsOf(square, QStringLiteral("root")), {0}, 1e-12);
  expectNear(xsOf(square, QStringLiteral("min")), {0}, 1e-9);
  const std::vector<Point> root = points({"sqrt(x)-1"});
  expectNear(xsOf(root, QStringLiteral("root")), {1}, 1e-12);
  for (const Point& p : root)
    EXPECT_GE(p.x, 0);
}

TEST_F(KurvoRenderAnalysisTest, IntersectionsNameBothSlots) {
  std::vector<Point> crossings;
  for (const Point& p : points({"sin(x)", "", "cos(x)"}))
    if (p.kind == QStringLiteral("intersection")) crossings.push_back(p);
  ASSERT_EQ(crossings.size(), 2u);
  EXPECT_EQ(crossings[0].slotList, QStringLiteral("1,3"));
  EXPECT_NEAR(crossings[0].x, -3 * pi / 4, 1e-12);
  EXPECT_NEAR(crossings[1].x, pi / 4, 1e-12);
  EXPECT_NEAR(crossings[1].y, std::sqrt(0.5), 1e-12);
  for (const Point& p : points({"x^3-2*x", "x^3-2*x"}))
    EXPECT_NE(p.kind, QStringLiteral("intersection"));
}

TEST_F(KurvoRenderAnalysisTest, TableOfUsedSlots) {
  const TextRun result = run({QStringLiteral("--table"), QStringLiteral("-1,0.5,5"),
                              document({"x^3-2*x", "", "sqrt(x)"})});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.lines, QStringList({"x\tf1\tf3", "-1\t1\t", "-0.5\t0.875\t", "0\t0\t0",
                                       "0.5\t-0.875\t0.70710678118654757", "1\t-1\t1"}));
}

TEST_F(KurvoRenderAnalysisTest, BadArgumentsAreUsageErrors) {
  const QString graph = document({"x"});
  const QList<QStringList> bad = {{"--table", "1,2", graph},
                                  {"--table", "a,1,3", graph},
                                  {"--table", "0,1,0", graph},
                                  {"--table", "0,1,10001", graph},
                                  {"--table", "0,1,2.5", graph},
                                  {"--table", graph},
                                  {"--analyse", graph, "out.png"},
                                  {"--analyse", "--table", "0,1,2", graph},
                                  {"--analyse"}};
  for (const QStringList& arguments : bad) {
    const TextRun result = run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(result.lines.isEmpty());
    EXPECT_TRUE(result.errors.startsWith(QStringLiteral("kurvo-render: ")));
  }
  EXPECT_EQ(run({QStringLiteral("--analyse"), dir.filePath(QStringLiteral("none.kvx"))}).exitCode,
            2);
}

// --integrate and --slope: one line per used slot, a value and its error or a reason; --set
// reaches them; arguments that are not numbers are usage errors.
TEST_F(KurvoRenderAnalysisTest, IntegralsAndSlopesOfEveryUsedSlot) {
  const QString graph = document({"sin(x)", "a*x", "1/x", "abs(x)"});
  const TextRun areas = run({QStringLiteral("--set"), QStringLiteral("a=2"),
                             QStringLiteral("--integrate"), QStringLiteral("-1,3.141592653589793"),
                             graph});
  ASSERT_EQ(areas.exitCode, 0) << areas.errors.toStdString();
  ASSERT_EQ(areas.lines.size(), 4);
  const QStringList sine = areas.lines[0].split(QLatin1Char('\t'));
  ASSERT_EQ(sine.size(), 3);
  const double exactSine = 1 + std::cos(1.0);
  EXPECT_NEAR(sine[1].toDouble(), exactSine, 1e-12);
  EXPECT_LE(std::fabs(sine[1].toDouble() - exactSine), sine[2].toDouble() + 1e-15);
  EXPECT_NEAR(areas.lines[1].split(QLatin1Char('\t'))[1].toDouble(), pi * pi - 1, 1e-11);
  EXPECT_TRUE(areas.lines[2].startsWith(QStringLiteral("3\t\t\t"))) << areas.lines[2].toStdString();

  const TextRun slopes = run({QStringLiteral("--set"), QStringLiteral("a=2"),
                              QStringLiteral("--slope"), QStringLiteral("0"), graph});
  ASSERT_EQ(slopes.exitCode, 0);
  EXPECT_EQ(slopes.lines.mid(0, 2), (QStringList{QStringLiteral("1\t1"), QStringLiteral("2\t2")}));
  EXPECT_TRUE(slopes.lines[2].startsWith(QStringLiteral("3\t\t")));
  EXPECT_EQ(slopes.lines[3], QStringLiteral(u"4\t\t微分できません"));

  const TextRun line = run({QStringLiteral("--integrate"), QStringLiteral("-inf,inf"),
                            document({"exp(-x*x)"})});
  ASSERT_EQ(line.lines.size(), 1);
  EXPECT_NEAR(line.lines[0].section(QLatin1Char('\t'), 1, 1).toDouble(), std::sqrt(pi), 1e-13);
  for (const QStringList& bad :
       {QStringList{QStringLiteral("--integrate"), QStringLiteral("0"), graph},
        QStringList{QStringLiteral("--integrate"), QStringLiteral("0,pi"), graph},
        QStringList{QStringLiteral("--slope"), QStringLiteral("x"), graph},
        QStringList{QStringLiteral("--slope"), QStringLiteral("1"), QStringLiteral("--integrate"),
                    QStringLiteral("0,1"), graph}})
    EXPECT_EQ(run(bad).exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
}

} // namespace
