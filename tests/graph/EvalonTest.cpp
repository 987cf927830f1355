#include "Evalon.h"

#include "DynamicLibrary.h"
#include "EvalonStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DynamicLibrary, LoadsOnlyFromTheGivenAbsoluteFolders) {
  const QString name = QString::fromLatin1(TEvalon::LibraryName);
  DynamicLibrary found = DynamicLibrary::load(name);
  ASSERT_TRUE(found.isLoaded()) << "looked in "
                                << DynamicLibrary::searchFolders().join(", ").toStdString();
  EXPECT_NE(found.symbol("InitCalcSystem"), nullptr);
  EXPECT_EQ(found.symbol("NoSuchFunction"), nullptr);

  // A copy in the current directory is not taken, even when "." is named.
  QTemporaryDir current;
  ASSERT_TRUE(QFile::copy(found.path(), QDir(current.path()).filePath(name)));
  const QString before = QDir::currentPath();
  QDir::setCurrent(current.path());
  EXPECT_FALSE(DynamicLibrary::load(name, {QStringLiteral("."), QString()}).isLoaded());
  QDir::setCurrent(before);
  EXPECT_FALSE(DynamicLibrary::load(name, {QStringLiteral("/nonexistent")}).isLoaded());

  found.release();
  EXPECT_FALSE(found.isLoaded());
  EXPECT_TRUE(found.path().isEmpty());
}

TEST(TEvalon, WithoutAnEngineEveryCallFailsQuietly) {
  TEvalon evalon;
  bool failed = false;
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("1+1"), failed), 0.0);
  EXPECT_TRUE(failed);
  EXPECT_EQ(evalon.ErrorCode(), 0);
  EXPECT_TRUE(evalon.SetVariable(QStringLiteral("x"), 1.0));
  EXPECT_EQ(evalon.ErrorCode(), 0);
}

TEST(TEvalon, EvaluatesInDoubleArithmetic) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  EXPECT_EQ(evalon.ErrorCode(), 0);
  EXPECT_FALSE(evalon.SetVariable(QStringLiteral("x"), 2.0));
  bool failed = true;
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("x/4"), failed), 0.5);
  EXPECT_FALSE(failed);
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("7/2"), failed), 3.5);
}

// ErrorCode is the engine's status plus one.
TEST(TEvalon, ErrorCodeIsTheStatusPlusOne) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  bool failed = false;
  EXPECT_EQ(evalon.CalcValue(QString(), failed), 0.0);
  EXPECT_TRUE(failed);
  EXPECT_EQ(evalon.ErrorCode(), ev::EmptyFormula + 1);
  evalon.CalcValue(QStringLiteral("1+"), failed);
  EXPECT_EQ(evalon.ErrorCode(), ev::MissingOperand + 1);
  EXPECT_TRUE(evalon.SetVariable(QStringLiteral("1x"), 1.0));
  EXPECT_EQ(evalon.ErrorCode(), 3);
  evalon.CalcValue(QStringLiteral("1/0"), failed);
  EXPECT_EQ(evalon.ErrorMessage(), QStringLiteral("０で割りました"));
  evalon.CalcValue(QStringLiteral("1"), failed);
  EXPECT_EQ(evalon.ErrorCode(), 0); // every call starts afresh
  EXPECT_TRUE(evalon.ErrorMessage().isEmpty());
}

TEST(TEvalon, OverlongTextsAreRefusedNotCut) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  bool failed = false;
  const QString longFormula = QStringLiteral("1+").repeated(128) + QStringLiteral("1"); // 257 bytes
  evalon.CalcValue(longFormula, failed);
  EXPECT_TRUE(failed);
  EXPECT_EQ(evalon.ErrorCode(), ev::TextTooLong + 1);
  EXPECT_TRUE(evalon.SetVariable(QString(300, QLatin1Char('x')), 1.0));
  EXPECT_EQ(evalon.ErrorCode(), ev::TextTooLong + 1);
}

TEST(TEvalon, ASecondLoadKeepsTheEngineAndItsVariables) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  evalon.SetVariable(QStringLiteral("x"), 4.25);
  EXPECT_TRUE(evalon.LoadEngine());
  bool failed = true;
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("x"), failed), 4.25);
  EXPECT_FALSE(failed);
}

// A loaded engine holds pi and e as doubles, exactly; SetConstants restores them.
TEST(TEvalon, TheEngineStartsWithPiAndE) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  bool failed = true;
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("pi"), failed), 3.141592653589793);
  EXPECT_FALSE(failed);
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("e"), failed), 2.718281828459045);
  EXPECT_FALSE(failed);
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("e^2"), failed), 2.718281828459045 * 2.718281828459045);
  EXPECT_NEAR(evalon.CalcValue(QStringLiteral("sin(pi/2)"), failed), 1.0, 1e-15);
  evalon.SetVariable(QStringLiteral("pi"), 3.0);
  evalon.SetVariable(QStringLiteral("e"), 0.0);
  EXPECT_FALSE(evalon.SetConstants());
  EXPECT_EQ(evalon.ErrorCode(), 0);
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("pi"), failed), 3.141592653589793);
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("e"), failed), 2.718281828459045);
}

// e is a name of its own: a digit run followed by e is still no number of exponent form,
// and names that merely start with e stay variables of their own.
TEST(TEvalon, NumbersWithAnETakeNothingFromTheConstant) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  evalon.SetVariable(QStringLiteral("x"), 1.0);
  bool failed = false;
  for (const char* text : {"1e5", "2e-3*x", "2e", "1.5e+2"}) {
    evalon.CalcValue(QString::fromLatin1(text), failed);
    EXPECT_TRUE(failed) << text;
  }
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("e5"), failed), 0.0);
  EXPECT_FALSE(failed);
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("pi2+e_1"), failed), 0.0);
  EXPECT_EQ(evalon.CalcValue(QStringLiteral("2*e"), failed), 2 * 2.718281828459045);
  EXPECT_FALSE(failed);
}

} // namespace
