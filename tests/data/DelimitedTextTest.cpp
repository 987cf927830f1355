// Tests of the delimited-text reader: each form of file, the header, comments, the decimal
// comma, several y columns, single columns, rows that are not numbers with their lines, the
// limits, and files that cannot be read.
#include "DelimitedText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <vector>

namespace {

using Points = std::vector<DataPoint>;

std::vector<DataPoint> pointsOf(const DataSet& set) {
  return set.points.vector();
}

// The sets and points the graph has room for.
DataReadOptions room(int sets, std::size_t points = DataSet::MaxTotalPoints) {
  DataReadOptions options;
  options.maxSets = sets;
  options.maxPoints = points;
  return options;
}

DataImport read(const char* text, const DataReadOptions& options = {}) {
  return readDelimitedText(QByteArrayView(text), options);
}

struct FormCase {
  const char* title;
  const char* text;
  DataDelimiter delimiter;
  bool header;
  std::vector<QString> names;
  std::vector<Points> points;
};

// Near-copies of one small table in every form the reader takes.
const FormCase FormCases[] = {
    {"comma",
     "1,2\n2,4\n3,8\n",
     DataDelimiter::Comma,
     false,
     {"データ"},
     {{{1, 2}, {2, 4}, {3, 8}}}},
    {"comma with blanks and CR LF",
     "1, 2\r\n2 ,4\r\n 3 , 8 \r\n",
     DataDelimiter::Comma,
     false,
     {"データ"},
     {{{1, 2}, {2, 4}, {3, 8}}}},
    {"tab", "1\t2\n2\t4\n3\t8", DataDelimiter::Tab, false, {"データ"}, {{{1, 2}, {2, 4}, {3, 8}}}},
    {"semicolon",
     "1;2\n2;4\n3;8\n",
     DataDelimiter::Semicolon,
     false,
     {"データ"},
     {{{1, 2}, {2, 4}, {3, 8}}}},
    {"blanks",
     "  1   2\n2 \t 4\n3 8\n",
     DataDelimiter::Blanks,
     false,
     {"データ"},
     {{{1, 2}, {2, 4}, {3, 8}}}},
    {"header names the set",
     "t,Weg\n1,2\n2,4\n",
     DataDelimiter::Comma,
     true,
     {"Weg"},
     {{{1, 2}, {2, 4}}}},
    {"quoted header",
     "\"time (s)\";\"say \"\"hi\"\"\"\n1;2\n",
     DataDelimiter::Semicolon,
     true,
     {"say \"hi\""},
     {{{1, 2}}}},
    {"UTF-8 header behind a byte-order mark",
     "\xEF\xBB\xBFx,温度\n1,20.5\n",
     DataDelimiter::Comma,
     true,
     {"温度"},
     {{{1, 20.5}}}},
    {"Shift-JIS header",
     "x,\x89\xB7\x93\x78\n1,20.5\n",
     DataDelimiter::Comma,
     true,
     {"温度"},
     {{{1, 20.5}}}},
    {"comments and blank lines",
     "# measured 2026-12-08\n\n1,2 # first\n  # aside\n2,4\n",
     DataDelimiter::Comma,
     false,
     {"データ"},
     {{{1, 2}, {2, 4}}}},
    {"decimal comma with semicolons",
     "x;y\n0,5;1,25\n-1,5;2e3\n",
     DataDelimiter::Semicolon,
     true,
     {"y"},
     {{{0.5, 1.25}, {-1.5, 2000}}}},
    {"decimal comma with tabs",
     "0,5\t1,25\n1\t-0,125\n",
     DataDelimiter::Tab,
     false,
     {"データ"},
     {{{0.5, 1.25}, {1, -0.125}}}},
    {"numbers as C writes them",
     "+1.5e-3,.5\n-2.,1E+2\n",
     DataDelimiter::Comma,
     false,
     {"データ"},
     {{{0.0015, 0.5}, {-2, 100}}}},
    {"several y columns share x",
     "x,a,b,c\n1,10,20,30\n2,11,21,31\n",
     DataDelimiter::Comma,
     true,
     {"a", "b", "c"},
     {{{1, 10}, {2, 11}}, {{1, 20}, {2, 21}}, {{1, 30}, {2, 31}}}},
    {"empty cells are gaps",
     "x,a,b\n1,10,\n2,,21\n3,12,22,\n",
     DataDelimiter::Comma,
     true,
     {"a", "b"},
     {{{1, 10}, {3, 12}}, {{2, 21}, {3, 22}}}},
    {"single column: y against its position",
     "5\n7\n9\n",
     DataDelimiter::Blanks,
     false,
     {"データ"},
     {{{1, 5}, {2, 7}, {3, 9}}}},
    {"text first column: y against position",
     "date,temp\nMon,20\nTue,21.5\n",
     DataDelimiter::Comma,
     true,
     {"temp"},
     {{{1, 20}, {2, 21.5}}}},
    {"text column in the middle is left out",
     "x,note,y\n1,ok,2\n2,late,4\n",
     DataDelimiter::Comma,
     true,
     {"y"},
     {{{1, 2}, {2, 4}}}},
    {"UTF-16 little-endian",
     "\xFF\xFE"
     "1\0,\0"
     "2\0\n\0",
     DataDelimiter::Comma,
     false,
     {"データ"},
     {{{1, 2}}}},
};

class FormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormTest, ReadsTheTable) {
  const FormCase& test = GetParam();
  // The UTF-16 case holds NULs: its length is that of the literal.
  const QByteArrayView bytes = std::string_view(test.title) == "UTF-16 little-endian"
                                   ? QByteArrayView(test.text, 10)
                                   : QByteArrayView(test.text);
  const DataImport import = readDelimitedText(bytes);
  ASSERT_TRUE(import.ok()) << import.error.toStdString();
  EXPECT_TRUE(import.problems.empty()) << import.problems.front().message().toStdString();
  EXPECT_EQ(import.delimiter, test.delimiter);
  EXPECT_EQ(import.header, test.header);
  ASSERT_EQ(import.sets.size(), test.points.size());
  for (std::size_t s = 0; s < import.sets.size(); ++s) {
    EXPECT_EQ(import.sets[s].name, test.names[s]);
    EXPECT_EQ(pointsOf(import.sets[s]), test.points[s]) << "set " << s;
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, FormTest, ::testing::ValuesIn(FormCases),
                         [](const ::testing::TestParamInfo<FormCase>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.title))
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

struct ProblemCase {
  const char* title;
  const char* text;
  std::vector<DataProblem> problems;
  Points kept; // the first set's points from the other rows
};

const ProblemCase ProblemCases[] = {
    {"text in a number cell",
     "x,y\n1,2\n2,abc\n3,6\n",
     {{3, DataProblem::Kind::NotNumber, 2}},
     {{1, 2}, {3, 6}}},
    {"text in x",
     "1,2\n# note\nzwei,4\n3,6\n",
     {{3, DataProblem::Kind::NotNumber, 1}},
     {{1, 2}, {3, 6}}},
    {"a second header",
     "x,y\n1,2\nx,y\n3,6\n",
     {{3, DataProblem::Kind::NotNumber, 1}},
     {{1, 2}, {3, 6}}},
    {"missing x", "1,2\n,4\n3,6\n", {{2, DataProblem::Kind::MissingX, 0}}, {{1, 2}, {3, 6}}},
    {"too many cells",
     "1,2\n2,4,5\n3,6\n",
     {{2, DataProblem::Kind::TooManyFields, 3}},
     {{1, 2}, {3, 6}}},
    {"two points in a number",
     "1,2\n2,4\n3,6.5.1\n",
     {{3, DataProblem::Kind::NotNumber, 2}},
     {{1, 2}, {2, 4}}},
    {"infinity and NaN are not numbers",
     "1,2\n2,inf\n3,nan\n4,1e999\n5,8\n6,9\n7,10\n8,11\n",
     {{2, DataProblem::Kind::NotNumber, 2},
      {3, DataProblem::Kind::NotNumber, 2},
      {4, DataProblem::Kind::NotNumber, 2}},
     {{1, 2}, {5, 8}, {6, 9}, {7, 10}, {8, 11}}},
    {"lines counted across CR, CR LF and comments",
     "1,2\r\n#\r\n\r3,x\r4,8\n",
     {{4, DataProblem::Kind::NotNumber, 2}},
     {{1, 2}, {4, 8}}},
};

class ProblemTest : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(ProblemTest, ReportsTheRowAndKeepsTheRest) {
  const ProblemCase& test = GetParam();
  const DataImport import = read(test.text);
  ASSERT_TRUE(import.ok()) << import.error.toStdString();
  EXPECT_EQ(import.problems, test.problems);
  EXPECT_EQ(import.problemCount, test.problems.size());
  ASSERT_EQ(import.sets.size(), 1u);
  EXPECT_EQ(pointsOf(import.sets[0]), test.kept);
}

INSTANTIATE_TEST_SUITE_P(Problems, ProblemTest, ::testing::ValuesIn(ProblemCases),
                         [](const ::testing::TestParamInfo<ProblemCase>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.title))
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(DelimitedText, ProblemMessagesNameTheLine) {
  EXPECT_EQ(DataProblem({12, DataProblem::Kind::NotNumber, 3}).message(),
            QStringLiteral("12 行目: 3 列目が数値ではありません"));
  EXPECT_EQ(DataProblem({4, DataProblem::Kind::MissingX, 0}).message(),
            QStringLiteral("4 行目: x の値がありません"));
  EXPECT_EQ(DataProblem({2, DataProblem::Kind::TooManySets, 10, 8}).message(),
            QStringLiteral("2 行目: データは 8 組までです。10 列目から後は読みません"));
}

TEST(DelimitedText, PositionsCountRowsThatAreLeftOut) {
  const DataImport import = read("5\nfive\n9\n");
  ASSERT_EQ(import.sets.size(), 1u);
  EXPECT_EQ(pointsOf(import.sets[0]), (Points{{1, 5}, {3, 9}}));
  EXPECT_TRUE(import.indexAsX);
  EXPECT_EQ(import.problems, (std::vector<DataProblem>{{2, DataProblem::Kind::NotNumber, 1}}));
}

TEST(DelimitedText, SetsBeyondTheRoomAreLeftOutAndSaidSo) {
  const DataImport import = read("x,a,b,c,d\n1,2,3,4,5\n", room(2));
  ASSERT_EQ(import.sets.size(), 2u);
  EXPECT_EQ(import.sets[1].name, QStringLiteral("b"));
  EXPECT_EQ(import.problems, (std::vector<DataProblem>{{2, DataProblem::Kind::TooManySets, 4, 2}}));
  EXPECT_FALSE(read("1,2\n", room(0)).ok());
}

TEST(DelimitedText, PointsBeyondTheLimitAreLeftOut) {
  const DataImport import = read("1,2\n2,4\n3,6\n4,8\n", room(DataSet::MaxCount, 2));
  ASSERT_EQ(import.sets.size(), 1u);
  EXPECT_EQ(import.sets[0].points.size(), 2u);
  EXPECT_EQ(import.problems,
            (std::vector<DataProblem>{{3, DataProblem::Kind::TooManyPoints, 0, 2}}));
}

TEST(DelimitedText, NewSetsTakeNamesAndColoursFromTheOptions) {
  const DataImport one = read("1,2\n", {.baseName = QStringLiteral("messung"), .firstIndex = 2});
  EXPECT_EQ(one.sets[0].name, QStringLiteral("messung"));
  EXPECT_EQ(one.sets[0].marker.color, defaultDataColor(2));
  EXPECT_EQ(one.sets[0].linePen.Color, defaultDataColor(2));
  const DataImport two = read("1,2,3\n", {.baseName = QStringLiteral("m")});
  EXPECT_EQ(two.sets[0].name, QStringLiteral("m 列2"));
  EXPECT_EQ(two.sets[1].name, QStringLiteral("m 列3"));
  EXPECT_NE(two.sets[0].marker.color, two.sets[1].marker.color);
}

TEST(DelimitedText, ManyBadRowsKeepTheFirstThousandAndCountAll) {
  // More good rows than bad ones, so that the column still counts as numbers.
  QByteArray text = "1,2\n";
  for (int i = 0; i < 1500; ++i)
    text += "1,2\n3,b\n";
  const DataImport import = readDelimitedText(QByteArrayView(text));
  EXPECT_EQ(import.problems.size(), DataImport::MaxProblemsKept);
  EXPECT_EQ(import.problemCount, 1500u);
  EXPECT_EQ(import.problems.back().line, 2001);
  EXPECT_EQ(import.sets[0].points.size(), 1501u);
}

TEST(DelimitedText, TextWithoutNumbersIsAnError) {
  for (const char* text : {"", "\n\n", "# only a comment\n", "x,y\n", "a,b\nc,d\n"}) {
    const DataImport import = read(text);
    EXPECT_FALSE(import.ok()) << text;
    EXPECT_TRUE(import.sets.empty());
    EXPECT_EQ(import.error, QStringLiteral("数値の行がありません"));
  }
}

// Found by fuzz_data_read: a name cut after blanks kept them, and a document trims them.
TEST(DelimitedText, LongNamesAreCutWithoutBlanksAtTheirEnd) {
  const QByteArray header = "x," + QByteArray(98, 'a') + "   b\n1,2\n";
  const DataImport import = readDelimitedText(QByteArrayView(header));
  ASSERT_EQ(import.sets.size(), 1u);
  EXPECT_EQ(import.sets[0].name, QString(98, QLatin1Char('a')));
  const QByteArray emoji = "x," + QByteArray(99, 'a') + "\xF0\x9F\x98\x80\n1,2\n";
  EXPECT_EQ(readDelimitedText(QByteArrayView(emoji)).sets[0].name, QString(99, QLatin1Char('a')));
}

TEST(DelimitedText, ClipboardTextReadsAsUtf8) {
  const DataImport import = readDelimitedText(QStringLiteral("x\t速さ\n1\t2,5\n"));
  ASSERT_TRUE(import.ok());
  EXPECT_EQ(import.sets[0].name, QStringLiteral("速さ"));
  EXPECT_EQ(pointsOf(import.sets[0]), (Points{{1, 2.5}}));
}

TEST(DelimitedText, FilesThatCannotBeReadAreErrorsThatNameThem) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("missing.csv"));
  EXPECT_EQ(readDataFile(missing).error, missing + QStringLiteral(" を読めません"));
  EXPECT_EQ(readDataFile(dir.path()).error.endsWith(QStringLiteral(" を読めません")), true);

  const QString binary = dir.filePath(QStringLiteral("picture.png"));
  QFile file(binary);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  file.close();
  EXPECT_EQ(readDataFile(binary).error,
            binary + QStringLiteral(" はテキストのファイルではありません"));

  const QString words = dir.filePath(QStringLiteral("words.txt"));
  QFile text(words);
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("no numbers here\n");
  text.close();
  EXPECT_EQ(readDataFile(words).error, words + QStringLiteral(" に数値の行がありません"));
}

TEST(DelimitedText, AFileIsNamedAfterItself) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("Abkühlung.csv"));
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("0;90,5\n1;80,25\n");
  file.close();
  const DataImport import = readDataFile(name);
  ASSERT_TRUE(import.ok());
  EXPECT_EQ(import.sets[0].name, QStringLiteral("Abkühlung"));
  EXPECT_EQ(pointsOf(import.sets[0]), (Points{{0, 90.5}, {1, 80.25}}));
}

} // namespace
