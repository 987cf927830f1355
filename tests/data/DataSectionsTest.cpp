// Tests of the data sets in the graph document: points round-trip bit for bit, also a set that
// spans many keys within the 1023-byte values, the sections appear only when there are sets
// and go when the sets go, damaged sections load what they can, and the undo topic.
#include "DataSections.h"

#include "GraphChange.h"
#include "GraphDocument.h"
#include "GraphModel.h"
#include "IniFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

namespace {

std::uint64_t bitsOf(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void expectSameBits(const DataPoints& read, const DataPoints& written) {
  ASSERT_EQ(read.size(), written.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    ASSERT_EQ(bitsOf(read[i].x), bitsOf(written[i].x)) << "x of point " << i;
    ASSERT_EQ(bitsOf(read[i].y), bitsOf(written[i].y)) << "y of point " << i;
  }
}

// Finite doubles of every size and sign, drawn from their bit patterns.
std::vector<DataPoint> randomPoints(std::size_t count, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  const auto next = [&random] {
    while (true) {
      const std::uint64_t bits = random();
      double value = 0;
      std::memcpy(&value, &bits, sizeof value);
      if (std::isfinite(value)) return value;
    }
  };
  std::vector<DataPoint> points;
  for (std::size_t i = 0; i < count; ++i)
    points.push_back({next(), next()});
  return points;
}

DataSets readBack(const DataSets& sets) {
  IniFile ini;
  WriteDataSets(ini, sets);
  return ReadDataSets(IniFile::FromBytes(ini.Contents()));
}

class DataDocumentTest : public ::testing::Test {
protected:
  QString path() const { return dir.filePath(QStringLiteral("graph.kvx")); }
  QByteArray fileBytes() const {
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void writeFile(const QByteArray& bytes) const {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  QTemporaryDir dir;
};

TEST(DataSections, PointsRoundTripBitForBit) {
  const std::vector<DataPoint> special = {{0.1, -0.0},
                                          {0.0, 1.0 / 3},
                                          {DBL_MAX, -DBL_MAX},
                                          {DBL_MIN, -DBL_MIN},
                                          {4.9e-324, 1e22},
                                          {std::numbers::pi, -std::numbers::e},
                                          {123456789012345680.0, 1e-5},
                                          {0.30000000000000004, 2.5e-308},
                                          {-1.7976931348623157e308, 9007199254740993.0}};
  DataSet set = DataSet::withDefaults(0, QStringLiteral("special"));
  set.points = special;
  DataSet random = DataSet::withDefaults(1, QStringLiteral("random"));
  random.points = randomPoints(2000, 1);
  const DataSets read = readBack({set, random});
  ASSERT_EQ(read.size(), 2u);
  expectSameBits(read[0].points, set.points);
  expectSameBits(read[1].points, random.points);
  EXPECT_EQ(read, (DataSets{set, random}));
}

TEST(DataSections, NumbersTakeTheShortestFormThatReadsBack) {
  DataSet set;
  set.points = {{0.1, -3}, {1e-5, 1.5e20}, {-0.0, 100}};
  IniFile ini;
  WriteDataSets(ini, {set});
  EXPECT_EQ(ini.ReadString(u"Data01", u"Points1", QString()),
            QStringLiteral("0.1,-3;1E-5,1.5E20;-0,100"));
}

TEST(DataSections, ALargeSetSpansManyKeysWithinTheValueLimit) {
  DataSet set = DataSet::withDefaults(0, QStringLiteral("large"));
  set.points = randomPoints(20000, 2);
  IniFile ini;
  WriteDataSets(ini, {set});
  const QByteArray text = ini.Contents();
  int pointKeys = 0;
  for (const QByteArray& line : text.split('\n')) {
    if (!line.startsWith("Points")) continue;
    ++pointKeys;
    const QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
    EXPECT_LE(value.size(), IniFile::MaxValueBytes);
    // Filled: a key holds as many points as fit, so it ends within one pair of the limit.
    if (pointKeys == 1) {
      EXPECT_GT(value.size(), IniFile::MaxValueBytes - 50);
    }
  }
  EXPECT_GT(pointKeys, 500);
  const DataSets read = ReadDataSets(IniFile::FromBytes(text));
  ASSERT_EQ(read.size(), 1u);
  expectSameBits(read[0].points, set.points);
}

TEST(DataSections, EverySettingRoundTrips) {
  DataSet set = DataSet::withDefaults(3, QStringLiteral("温度 [°C]"));
  set.points = {{1, 2}};
  set.marker = {MarkerShape::TriangleDown, 12, rgbColor(1, 2, 3)};
  set.line = true;
  set.linePen = {kWindowText, PenStyle::DashDot, 3};
  set.hidden = true;
  DataSet empty = DataSet::withDefaults(4, QStringLiteral("leer"));
  const DataSets read = readBack({set, empty});
  EXPECT_EQ(read, (DataSets{set, empty}));
}

TEST(DataSections, DamagedSectionsLoadWhatTheyCan) {
  const QByteArray text = "[Data02]\r\n"
                          "Name=kaputt\r\n"
                          "MarkerShape=99\r\n"
                          "MarkerSize=-4\r\n"
                          "MarkerColor=blau\r\n"
                          "LinePenStyle=17\r\n"
                          "LinePenWidth=100000\r\n"
                          "Points3=5,6\r\n"
                          "Points1=1,2;x,3;4;;inf,1;3,4;1e999,0;+7,8 \r\n"
                          "POINTS2=9,10\r\n"
                          "Points2=11,12\r\n"
                          "Points=13,14\r\n"
                          "Points0=15,16\r\n"
                          "Pointsx=17,18\r\n"
                          "[Data05]\r\n";
  const DataSets read = ReadDataSets(IniFile::FromBytes(text));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].name, QStringLiteral("kaputt"));
  EXPECT_EQ(read[0].marker.shape, MarkerShape::Circle);
  EXPECT_EQ(read[0].marker.size, DataMarker::MinSize);
  EXPECT_EQ(read[0].marker.color, defaultDataColor(0));
  EXPECT_EQ(read[0].linePen.Style, PenStyle::Solid);
  EXPECT_EQ(read[0].linePen.Width, 64);
  EXPECT_EQ(read[0].points.vector(),
            (std::vector<DataPoint>{{1, 2}, {3, 4}, {7, 8}, {9, 10}, {5, 6}}));
  EXPECT_TRUE(read[1].points.empty());
}

TEST_F(DataDocumentTest, AGraphWithoutDataWritesNoDataSection) {
  const GraphModel model = GraphModel::NewGraph();
  SaveGraphDocument(path(), model);
  EXPECT_FALSE(fileBytes().contains("[Data"));
  EXPECT_EQ(fileBytes(), DocumentState(model));
}

TEST_F(DataDocumentTest, TheModelRoundTripsThroughItsFile) {
  GraphModel model = GraphModel::NewGraph();
  for (int n = 0; n < 3; ++n) {
    DataSet set = DataSet::withDefaults(n, QStringLiteral("Reihe %1").arg(n + 1));
    set.points = randomPoints(std::size_t(100 * (n + 1)), std::uint64_t(10 + n));
    model.dataSets.push_back(set);
  }
  SaveGraphDocument(path(), model);
  GraphModel loaded = GraphModel::NewGraph();
  LoadGraphDocument(path(), loaded);
  ASSERT_EQ(loaded.dataSets.size(), 3u);
  for (std::size_t n = 0; n < 3; ++n)
    expectSameBits(loaded.dataSets[n].points, model.dataSets[n].points);
  EXPECT_EQ(loaded, model);
  EXPECT_EQ(DocumentState(loaded), DocumentState(model));
}

TEST_F(DataDocumentTest, SavingOverAFileRemovesSetsAndPointsThatAreGone) {
  GraphModel model = GraphModel::NewGraph();
  for (int n = 0; n < 2; ++n) {
    DataSet set = DataSet::withDefaults(n);
    set.points = randomPoints(1000, std::uint64_t(20 + n));
    model.dataSets.push_back(set);
  }
  writeFile("[Fremd]\r\nSchluessel=1\r\n");
  SaveGraphDocument(path(), model);
  ASSERT_TRUE(fileBytes().contains("[Data02]"));

  // Fewer points in the first set, and no second set.
  model.dataSets.pop_back();
  model.dataSets[0].points = {{1, 2}};
  SaveGraphDocument(path(), model);
  EXPECT_FALSE(fileBytes().contains("[Data02]"));
  EXPECT_FALSE(fileBytes().contains("Points2="));
  GraphModel loaded = GraphModel::NewGraph();
  LoadGraphDocument(path(), loaded);
  EXPECT_EQ(loaded.dataSets, model.dataSets);

  // No set at all: the file is the plain document again, with the foreign section.
  model.dataSets.clear();
  SaveGraphDocument(path(), model);
  EXPECT_FALSE(fileBytes().contains("[Data"));
  EXPECT_TRUE(fileBytes().startsWith("[Fremd]\r\nSchluessel=1\r\n"));
  EXPECT_EQ(fileBytes().mid(int(qstrlen("[Fremd]\r\nSchluessel=1\r\n"))), DocumentState(model));
}

// 120 000 points of full precision take over 5 MB: read whole, and saved over without the unread
// rest of a file coming back behind the new sections.
TEST_F(DataDocumentTest, ManyPointsOfFullPrecisionLoadWhole) {
  GraphModel model = GraphModel::NewGraph();
  DataSet set = DataSet::withDefaults(0);
  set.points = randomPoints(120000, 30);
  model.dataSets = {set, DataSet::withDefaults(1, QStringLiteral("zwei"))};
  model.dataSets[1].points = {{1, 2}};
  SaveGraphDocument(path(), model);
  ASSERT_GT(fileBytes().size(), 5'000'000);
  GraphModel loaded = GraphModel::NewGraph();
  LoadGraphDocument(path(), loaded);
  ASSERT_EQ(loaded.dataSets.size(), 2u);
  expectSameBits(loaded.dataSets[0].points, set.points);

  loaded.dataSets[0].points = randomPoints(1000, 31);
  SaveGraphDocument(path(), loaded);
  GraphModel again = GraphModel::NewGraph();
  LoadGraphDocument(path(), again);
  EXPECT_EQ(again.dataSets, loaded.dataSets);
}

TEST_F(DataDocumentTest, OpeningADocumentWithoutDataDropsTheSetsShown) {
  SaveGraphDocument(path(), GraphModel::NewGraph());
  GraphModel model = GraphModel::NewGraph();
  model.dataSets.push_back(DataSet::withDefaults(0, QStringLiteral("alt")));
  LoadGraphDocument(path(), model);
  EXPECT_TRUE(model.dataSets.empty());
}

TEST(DataChange, ChangesOfTheSetsAreTheirOwnTopic) {
  const GraphModel before = GraphModel::NewGraph();
  GraphModel after = before;
  after.dataSets.push_back(DataSet::withDefaults(0));
  EXPECT_EQ(changeBetween(before, after), (GraphChange{ChangeTopic::Data, 0}));
  GraphModel moved = after;
  moved.dataSets.push_back(DataSet::withDefaults(1));
  moved.dataSets[1].hidden = true;
  EXPECT_EQ(changeBetween(after, moved), (GraphChange{ChangeTopic::Data, 1}));
  EXPECT_EQ(changeBetween(moved, moved), GraphChange{});
}

TEST(DataPoints, CopiesShareThePointsAndCompareByValue) {
  const DataPoints points = randomPoints(100000, 3);
  const DataPoints copy = points;
  EXPECT_EQ(&copy.vector(), &points.vector());
  const DataPoints equal = points.vector();
  EXPECT_NE(&equal.vector(), &points.vector());
  EXPECT_EQ(equal, points);
  EXPECT_NE((DataPoints{DataPoint{1, 2}}), (DataPoints{DataPoint{1, 3}}));
  EXPECT_EQ(DataPoints(), DataPoints(std::vector<DataPoint>{}));
}

} // namespace
