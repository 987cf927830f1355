// Tests of the INI service: name matching, in-place updates that keep every other line, value
// encodings and limits, damaged and huge files, and saves that fail without harming the file.
#include "IniFile.h"

#include "ShiftJisCodec.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <random>
#include <sys/resource.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
  QString path(const QString& name = QStringLiteral("graph.kvx")) const {
    return m_dir.filePath(name);
  }

  void writeFile(const QByteArray& bytes) const {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  QByteArray readFile() const {
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QString read(const QByteArray& value) {
    writeFile("[S]\r\nK=" + value + "\r\n");
    return IniFile(path()).ReadString(QStringLiteral("S"), QStringLiteral("K"),
                                      QStringLiteral("-"));
  }

  int readInt(const QByteArray& value) {
    writeFile("[S]\r\nK=" + value + "\r\n");
    return IniFile(path()).ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 42);
  }

  QTemporaryDir m_dir;
};

TEST_F(IniFileTest, MissingFileGivesDefaults) {
  const IniFile ini(path());
  EXPECT_EQ(ini.ReadString(QStringLiteral("Graph"), QStringLiteral("Name"), QStringLiteral("x")),
            QStringLiteral("x"));
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Graph"), QStringLiteral("Left"), -3), -3);
  EXPECT_TRUE(ini.ReadBool(QStringLiteral("Graph"), QStringLiteral("BorderLine"), true));
  EXPECT_FALSE(ini.SectionExists(QStringLiteral("Graph")));
  EXPECT_TRUE(ini.ReadSection(QStringLiteral("Graph")).isEmpty());
}

TEST_F(IniFileTest, NamesMatchWithoutLetterCase) {
  writeFile("[Graph]\r\nBorderLine=1\r\n  Caption = abc \r\n[Margin]\r\nLeft=7\r\n");
  const IniFile ini(path());
  EXPECT_TRUE(ini.SectionExists(QStringLiteral("GRAPH")));
  EXPECT_TRUE(ini.ReadBool(QStringLiteral("graph"), QStringLiteral("BORDERLINE"), false));
  EXPECT_EQ(ini.ReadString(QStringLiteral("gRaPh"), QStringLiteral("caption"), QString()),
            QStringLiteral("abc"));
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Graph"), QStringLiteral("Left"), -1), -1);
  EXPECT_EQ(ini.ReadSection(QStringLiteral("graph")),
            QStringList({QStringLiteral("BorderLine"), QStringLiteral("Caption")}));
}

TEST_F(IniFileTest, JapaneseTextRoundTripsAsCp932) {
  const QString caption = QStringLiteral(u"関数グラフ ソ表示");
  IniFile ini(path());
  ini.WriteString(QStringLiteral(u"ゾ"), QStringLiteral(u"表"), caption);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(readFile(), "[\x83\x5D]\r\n\x95\x5C=" + toShiftJis(caption) + "\r\n");
  EXPECT_EQ(IniFile(path()).ReadString(QStringLiteral(u"ゾ"), QStringLiteral(u"表"), QString()),
            caption);
}

TEST_F(IniFileTest, SecondBytesOfDoubleByteNamesAreNotFolded) {
  IniFile ini(path());
  ini.WriteInteger(QStringLiteral(u"ア"), QStringLiteral("K"), 1);
  ini.WriteInteger(QStringLiteral(u"ヂ"), QStringLiteral("K"), 2);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral(u"ア"), QStringLiteral("K"), 0), 1);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral(u"ヂ"), QStringLiteral("K"), 0), 2);
}

TEST_F(IniFileTest, InPlaceUpdateKeepsEveryOtherLine) {
  writeFile(QByteArrayLiteral("; comment\r\n[Graph]\r\nLeft = 5 \r\nweird line\r\nTop=1\r\n\r\n"
                              "[Unknown]\r\nX=\xFF\x00y\r\n"));
  IniFile ini(path());
  ini.WriteInteger(QStringLiteral("graph"), QStringLiteral("LEFT"), -12);
  ini.WriteBool(QStringLiteral("Graph"), QStringLiteral("BorderLine"), true);
  ini.WriteString(QStringLiteral("Margin"), QStringLiteral("Right"), QStringLiteral("a\r\nb"));
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(readFile(),
            QByteArrayLiteral("; comment\r\n[Graph]\r\nLeft =-12\r\nweird line\r\nTop=1\r\n"
                              "BorderLine=1\r\n\r\n[Unknown]\r\nX=\xFF\x00y\r\n"
                              "[Margin]\r\nRight=a  b\r\n"));
}

TEST_F(IniFileTest, ErasingASectionTakesAllItsLinesAndEveryDuplicate) {
  writeFile("[A]\r\nK=1\r\n[P]\r\nK=2\r\n; note\r\n[B]\r\nK=3\r\n[p]\r\nK=4\r\n");
  IniFile ini(path());
  ini.EraseSection(QStringLiteral("P"));
  ini.EraseSection(QStringLiteral("Missing"));
  EXPECT_FALSE(ini.SectionExists(QStringLiteral("P")));
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(readFile(), "[A]\r\nK=1\r\n[B]\r\nK=3\r\n");
}

TEST_F(IniFileTest, LfLinesAreReadAndSavedWithCrLf) {
  writeFile("[S]\nA=1\nB=2");
  IniFile ini(path());
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("B"), 0), 2);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(readFile(), "[S]\r\nA=1\r\nB=2\r\n");
}

TEST_F(IniFileTest, IntegerForms) {
  EXPECT_EQ(readInt("+12"), 12);
  EXPECT_EQ(readInt("-7"), -7);
  EXPECT_EQ(readInt("0x1F"), 31);
  EXPECT_EQ(readInt("0X1f"), 31);
  EXPECT_EQ(readInt("$ff"), 255);
  EXPECT_EQ(readInt("-$10"), -16);
  EXPECT_EQ(readInt(" 2147483647 "), 2147483647);
  EXPECT_EQ(readInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(readInt("0x80000008"), -2147483640);
}

TEST_F(IniFileTest, InvalidIntegersGiveTheDefault) {
  for (const char* text : {"", "abc", "12abc", "1 2", "0x", "$", "+", "-", "0xG", "$-1",
                           "99999999999", "2147483648", "-2147483649", "0x100000000", "1.5"})
    EXPECT_EQ(readInt(text), 42) << text;
}

TEST_F(IniFileTest, WrittenIntegersAndFlagsReadBack) {
  IniFile ini(path());
  ini.WriteInteger(QStringLiteral("S"), QStringLiteral("Color"), -2147483640);
  ini.WriteBool(QStringLiteral("S"), QStringLiteral("Off"), false);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(readFile(), "[S]\r\nColor=-2147483640\r\nOff=0\r\n");
  const IniFile again(path());
  EXPECT_EQ(again.ReadInteger(QStringLiteral("S"), QStringLiteral("Color"), 0), -2147483640);
  EXPECT_FALSE(again.ReadBool(QStringLiteral("S"), QStringLiteral("Off"), true));
}

TEST_F(IniFileTest, FlagsAreNonZeroIntegers) {
  writeFile("[S]\r\nA=2\r\nB=0\r\nC=x\r\n");
  const IniFile ini(path());
  EXPECT_TRUE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("A"), false));
  EXPECT_FALSE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("B"), true));
  EXPECT_TRUE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("C"), true));
  EXPECT_FALSE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("C"), false));
}

TEST_F(IniFileTest, ValuesAreTrimmedAndCutAt1023Bytes) {
  EXPECT_EQ(read(" \t a  b \t "), QStringLiteral("a  b"));
  EXPECT_EQ(read(""), QString());
  EXPECT_EQ(read(QByteArray(2000, 'x')), QString(1023, QLatin1Char('x')));
  // A double-byte character across the limit is dropped whole.
  EXPECT_EQ(read(QByteArray(1022, 'x') + "\x95\x5C"), QString(1022, QLatin1Char('x')));
  EXPECT_EQ(read(QByteArray(1021, 'x') + "\x95\x5C"),
            QString(1021, QLatin1Char('x')) + QStringLiteral(u"表"));
}

// Line breaks are written as blanks; blanks at the ends of a value are written as they are, in
// either encoding, and only a read trims them.
TEST_F(IniFileTest, BlanksAtTheEndsOfAValueAreWritten) {
  const struct {
    QString value;
    QByteArray line;
    QString read;
  } cases[] = {
      {QStringLiteral("sin(x) "), "K=sin(x) ", QStringLiteral("sin(x)")},
      {QStringLiteral("\r\n x\ty \r"), "K=   x\ty  ", QStringLiteral("x\ty")},
      {QStringLiteral(" \t"), "K= \t", QString()},
      {QStringLiteral(u" 表 "), "K= \x95\x5C ", QStringLiteral(u"表")},
      {QStringLiteral(u"é "), "K=\xC3\xA9 ", QStringLiteral(u"é")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.toStdString());
    IniFile ini;
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), c.value);
    EXPECT_TRUE(ini.Contents().endsWith("[S]\r\n" + c.line + "\r\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("-")), c.read);
    EXPECT_EQ(IniFile::FromBytes(ini.Contents())
                  .ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("-")),
              c.read);
  }
}

// A key line is kept when it holds the bytes written or reads as a value without blanks at its
// ends, so a text read and written back unchanged keeps its bytes; a value with blanks at its
// ends is written unless the line holds it to the byte.
TEST_F(IniFileTest, KeyLinesThatHoldTheValueWrittenAreKept) {
  const QByteArray text = "[S]\r\nA= a \r\nB =b\t\r\nC=  \r\nD=x y\r\nE=\x95\x5C \r\nF=f \r\n";
  const struct {
    const char* key;
    QString written; // null: the value read
    QByteArray before;
    QByteArray after;
  } cases[] = {
      {"A", {}, "A= a ", "A= a "},
      {"B", {}, "B =b\t", "B =b\t"},
      {"C", {}, "C=  ", "C=  "},
      {"E", {}, "E=\x95\x5C ", "E=\x95\x5C "},
      {"F", QStringLiteral("f "), "F=f ", "F=f "},
      {"A", QStringLiteral(" a"), "A= a ", "A= a"},
      {"D", QStringLiteral("x y "), "D=x y", "D=x y "},
      {"B", QStringLiteral("c"), "B =b\t", "B =c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after.toStdString());
    IniFile ini = IniFile::FromBytes(text);
    const QString key = QLatin1String(c.key);
    const QString value =
        c.written.isNull() ? ini.ReadString(QStringLiteral("S"), key, QString()) : c.written;
    ini.WriteString(QStringLiteral("S"), key, value);
    QByteArray expected = text;
    expected.replace("\n" + c.before + "\r", "\n" + c.after + "\r");
    EXPECT_EQ(ini.Contents(), expected);
  }
}

// A value that fits the limit in CP932 keeps all of its text in a file that has changed to UTF-8,
// where its characters take more bytes.
TEST_F(IniFileTest, Utf8ValuesAreCutAsTheyWouldBeInCp932) {
  const auto readUtf8 = [](const QString& value) {
    IniFile ini = IniFile::FromBytes("\xEF\xBB\xBF[S]\r\nK=" + value.toUtf8() + "\r\n");
    return ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString());
  };
  const QString kanji(500, QChar(0x8868));
  const QString halfWidth(20, QChar(0xFF71));
  EXPECT_EQ(readUtf8(kanji + halfWidth + QStringLiteral("abc")), kanji + halfWidth + "abc");
  EXPECT_EQ(readUtf8(kanji + halfWidth + QStringLiteral("abcd")), kanji + halfWidth + "abc");
  EXPECT_EQ(readUtf8(QString(600, QChar(0x8868))), QString(511, QChar(0x8868)));
}

// Only the mark before the first line is the file's; at the start of a value it is a character.
TEST_F(IniFileTest, ByteOrderMarkStartingAValueIsKept) {
  IniFile ini = IniFile::FromBytes("\xEF\xBB\xBF[S]\r\nK=\xEF\xBB\xBF"
                                   "a\r\n");
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()),
            QChar(0xFEFF) + QStringLiteral("a"));
  ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QChar(0xFEFF) + QStringLiteral("b"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()),
            QChar(0xFEFF) + QStringLiteral("b"));
}

TEST_F(IniFileTest, DamagedBytesGiveDefaultsOrTheReadableKeys) {
  writeFile(
      QByteArrayLiteral("\0\xFF\x81[\x81]\r\n[S\0]\r\nK=1\r\n[S]\r\nV=\x81\r\nN=a\0b\r\nK=5\r\n"));
  const IniFile ini(path());
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 5);
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("V"), QString()), QChar(0xDC81));
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("N"), QString()).size(), 3);
}

TEST_F(IniFileTest, RandomBinaryFileNeverFails) {
  std::mt19937 random(8);
  QByteArray bytes(1 << 20, '\0');
  for (char& byte : bytes)
    byte = static_cast<char>(random() & 0xFF);
  writeFile(bytes);
  IniFile ini(path());
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Graph"), QStringLiteral("Left"), 9), 9);
  ini.WriteInteger(QStringLiteral("Graph"), QStringLiteral("Left"), 3);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Graph"), QStringLiteral("Left"), 9), 3);
}

TEST_F(IniFileTest, HugeLineIsSkippedAndKeptOnSave) {
  const QByteArray head = "[S]\r\nA=1\r\n";
  const QByteArray tail =
      QByteArray(IniFile::MaxReadBytes + 1024 * 1024, 'z') + "\r\n[T]\r\nB=2\r\n";
  writeFile(head + tail);
  IniFile ini(path());
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("A"), 0), 1);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("T"), QStringLiteral("B"), 0), 0);
  ini.WriteInteger(QStringLiteral("S"), QStringLiteral("A"), 22);
  ASSERT_TRUE(ini.UpdateFile());
  ini.WriteInteger(QStringLiteral("S"), QStringLiteral("C"), 3);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(readFile(), "[S]\r\nA=22\r\nC=3\r\n" + tail);
}

// Text held in memory reads as a file with the same bytes would, all of it, and its changes are
// taken with Contents.
TEST_F(IniFileTest, TextInMemoryReadsAsAFile) {
  const QByteArray bytes = "\xEF\xBB\xBF[Graph]\nCaption=caf\xC3\xA9 \r\n[Margin]\r\nLeft=$20\r\n";
  writeFile(bytes);
  const IniFile fromFile(path());
  IniFile fromBytes = IniFile::FromBytes(bytes);
  EXPECT_TRUE(fromBytes.FileName().isEmpty());
  EXPECT_FALSE(fromBytes.ReadFailed());
  EXPECT_TRUE(fromBytes.IsUtf8());
  EXPECT_EQ(fromBytes.ReadString(QStringLiteral("graph"), QStringLiteral("caption"), QString()),
            QStringLiteral("café"));
  EXPECT_EQ(fromBytes.ReadInteger(QStringLiteral("Margin"), QStringLiteral("Left"), 0), 32);
  EXPECT_EQ(fromBytes.Contents(), fromFile.Contents());
  fromBytes.WriteInteger(QStringLiteral("Margin"), QStringLiteral("Top"), 5);
  EXPECT_EQ(fromBytes.Contents(),
            "\xEF\xBB\xBF[Graph]\r\nCaption=caf\xC3\xA9 \r\n[Margin]\r\nLeft=$20\r\nTop=5\r\n");

  // Beyond the part of a file that is read: text in memory is taken whole.
  const QByteArray huge = "[A]\r\n" + QByteArray(IniFile::MaxReadBytes, 'x') + "\r\n[B]\r\nK=1\r\n";
  EXPECT_EQ(IniFile::FromBytes(huge).ReadInteger(QStringLiteral("B"), QStringLiteral("K"), 0), 1);
}

TEST_F(IniFileTest, SaveIntoMissingDirectoryFails) {
  IniFile ini(path(QStringLiteral("missing/graph.kvx")));
  ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1);
  QString error;
  EXPECT_FALSE(ini.UpdateFile(&error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing/graph.kvx"))));
}

// A file size limit makes the write fail halfway, even for users that permissions do not bind.
TEST_F(IniFileTest, FailedWriteKeepsTheOldFile) {
  writeFile("[S]\r\nK=old\r\n");
  IniFile ini(path());
  ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QString(4000, QLatin1Char('n')));
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  rlimit small = previous;
  small.rlim_cur = 1024;
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = ini.UpdateFile();
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(readFile().size(), 12);
  EXPECT_EQ(readFile(), "[S]\r\nK=old\r\n");
}

// Text outside CP932 switches the file to UTF-8 with a byte-order mark instead of losing it;
// the keys already there keep their text.
TEST_F(IniFileTest, TextOutsideCp932IsSavedAsUtf8) {
  writeFile("[S]\r\nJ=\x95\x5C\r\n");
  IniFile ini(path());
  ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral(u"café 😀"));
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(readFile(), QByteArray("\xEF\xBB\xBF[S]\r\nJ=") + QStringLiteral(u"表").toUtf8() +
                            "\r\nK=" + QStringLiteral(u"café 😀").toUtf8() + "\r\n");
  IniFile again(path());
  EXPECT_TRUE(again.IsUtf8());
  EXPECT_EQ(again.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()),
            QStringLiteral(u"café 😀"));
  EXPECT_EQ(again.ReadString(QStringLiteral("S"), QStringLiteral("J"), QString()),
            QStringLiteral(u"表"));
  again.WriteString(QStringLiteral(u"表"), QStringLiteral("L"), QStringLiteral("1"));
  ASSERT_TRUE(again.UpdateFile());
  EXPECT_TRUE(readFile().startsWith("\xEF\xBB\xBF[S]"));
  EXPECT_EQ(IniFile(path()).ReadInteger(QStringLiteral(u"表"), QStringLiteral("l"), 0), 1);
}

// Found by fuzzing: a cent sign was written in CP932 as the full-width one and read back so.
TEST_F(IniFileTest, TextThatCp932ReadsBackOtherwiseIsSavedAsUtf8) {
  const QString caption = QStringLiteral(u"ap\u00A2\\ 1\u301C2");
  IniFile ini;
  ini.WriteString(QStringLiteral("XAxis"), QStringLiteral("Caption"), caption);
  EXPECT_TRUE(ini.IsUtf8());
  EXPECT_EQ(IniFile::FromBytes(ini.Contents())
                .ReadString(QStringLiteral("XAxis"), QStringLiteral("Caption"), QString()),
            caption);
}

TEST_F(IniFileTest, UndecodableBytesAreWrittenBackInEitherEncoding) {
  for (const QByteArray& mark : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
    SCOPED_TRACE(mark.isEmpty() ? "CP932" : "UTF-8");
    const QByteArray original = mark + "[S]\r\nA=x\xA0\xFD\r\nB=1\r\n";
    writeFile(original);
    IniFile ini(path());
    const QString value = ini.ReadString(QStringLiteral("S"), QStringLiteral("A"), QString());
    ini.WriteString(QStringLiteral("S"), QStringLiteral("A"), value);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("2"));
    EXPECT_EQ(ini.IsUtf8(), !mark.isEmpty());
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readFile(), mark + "[S]\r\nA=x\xA0\xFD\r\nB=2\r\n");
  }
}

// 0xEE 0xEE is no character, so the first 0xEE is kept and 0xEE 0x78 reads as a character that
// CP932 writes in its standard form 0xFB 0xFC; after the kept 0xEE that would read as 0xEE 0xFB,
// another character. The file changes to UTF-8 instead, where the value reads back as it was.
TEST_F(IniFileTest, AKeptByteBeforeARewrittenCharacterReadsBackAsItWas) {
  IniFile ini = IniFile::FromBytes("[S]\r\nK=\xEE\xEE\x78\r\n");
  const QString value = ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString());
  ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), value);
  EXPECT_EQ(IniFile::FromBytes(ini.Contents())
                .ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()),
            value);
}

TEST_F(IniFileTest, Utf8ValuesAreCutAtWholeCharacters) {
  writeFile("\xEF\xBB\xBF[S]\r\nK=" + QByteArray(1022, 'x') + QStringLiteral(u"あい").toUtf8() +
            "\r\n");
  EXPECT_EQ(IniFile(path()).ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()),
            QString(1022, QLatin1Char('x')));
}

} // namespace

namespace {

// Reads every name a test may have written, so that two texts can be compared as the reader
// sees them.
QStringList everyValue(const IniFile& ini, const QStringList& sections, const QStringList& keys) {
  QStringList values;
  for (const QString& section : sections) {
    values << (ini.SectionExists(section) ? QStringLiteral("+") : QStringLiteral("-"));
    values << ini.ReadSection(section);
    for (const QString& key : keys)
      values << ini.ReadString(section, key, QStringLiteral("\n"));
  }
  return values;
}

} // namespace

// The index is kept up to date line by line as keys and sections are written: after any mix of
// writes, of names that read back otherwise as well, every name reads as in the text read anew.
TEST_F(IniFileTest, WritesReadAsTheirTextReadAnew) {
  const QStringList sections = {"Graph", "GRAPH", "a]b", " pad", "[x", u"表示"_qs, "Sec=1", "E"};
  const QStringList keys = {"K", "k", "Left", "a=b", "[y]", " z", u"値"_qs, ";c", "L2"};
  IniFile ini = IniFile::FromBytes("junk\r\n[E]\r\nK=0\r\n[graph]\r\nk=1\r\n[Graph]\r\nK=2\r\n"
                                   "[E]\r\nL2=9\r\n");
  std::mt19937 random(3);
  for (int step = 0; step < 400; ++step) {
    const QString& section = sections[qsizetype(random() % sections.size())];
    const QString& key = keys[qsizetype(random() % keys.size())];
    if (random() % 23 == 0)
      ini.EraseSection(section);
    else
      ini.WriteString(section, key, QString::number(step) + (step % 7 ? "" : "]"));
    ASSERT_EQ(everyValue(ini, sections, keys),
              everyValue(IniFile::FromBytes(ini.Contents()), sections, keys))
        << "step " << step << "\n"
        << ini.Contents().toStdString();
  }
}

// Lines not written are read in place from the bytes the file took; the file keeps them, and a
// copy is a text of its own.
TEST_F(IniFileTest, TextOutlivesItsSourceAndCopiesAreIndependent) {
  std::optional<IniFile> ini;
  {
    QByteArray bytes = "[S]\r\nA=1\r\nB=2\r\n";
    ini = IniFile::FromBytes(bytes);
    bytes.fill('x');
  }
  IniFile copy = *ini;
  copy.WriteInteger(QStringLiteral("S"), QStringLiteral("A"), 5);
  copy.WriteInteger(QStringLiteral("T"), QStringLiteral("C"), 6);
  EXPECT_EQ(ini->ReadInteger(QStringLiteral("S"), QStringLiteral("A"), 0), 1);
  EXPECT_EQ(ini->Contents(), "[S]\r\nA=1\r\nB=2\r\n");
  EXPECT_EQ(copy.Contents(), "[S]\r\nA=5\r\nB=2\r\n[T]\r\nC=6\r\n");
  // Switching to UTF-8 recodes every line, those in place too.
  copy.WriteString(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral(u"é€"));
  EXPECT_EQ(copy.Contents(), "\xEF\xBB\xBF[S]\r\nA=5\r\nB=\xC3\xA9\xE2\x82\xAC\r\n[T]\r\nC=6\r\n");
  EXPECT_EQ(ini->Contents(), "[S]\r\nA=1\r\nB=2\r\n");
}

// Written lines are packed into blocks that copies share: neither may write into a shared
// block, and each copy's lines stay readable after the other is gone.
TEST_F(IniFileTest, WrittenLinesOutliveTheFileTheyWereCopiedFrom) {
  std::optional<IniFile> first = IniFile();
  first->WriteInteger(QStringLiteral("S"), QStringLiteral("A"), 1);
  IniFile second = *first;
  second.WriteInteger(QStringLiteral("S"), QStringLiteral("B"), 2);
  first->WriteInteger(QStringLiteral("S"), QStringLiteral("C"), 3);
  EXPECT_EQ(first->Contents(), "[S]\r\nA=1\r\nC=3\r\n");
  first.reset();
  second.WriteString(QStringLiteral("S"), QStringLiteral("D"), QString(5000, QLatin1Char('x')));
  EXPECT_EQ(second.Contents(), "[S]\r\nA=1\r\nB=2\r\nD=" + QByteArray(5000, 'x') + "\r\n");
}

// Found by fuzzing: a value cut at 1023 bytes just after a blank read with the blank at its end,
// which no written value has.
TEST_F(IniFileTest, AValueCutAfterABlankIsTrimmed) {
  EXPECT_EQ(read(QByteArray(1022, 'x') + "\t\t yz"), QString(1022, QLatin1Char('x')));
  EXPECT_EQ(read(QByteArray(1020, 'x') + "\x95\x5C \x95\x5C"),
            QString(1020, QLatin1Char('x')) + QStringLiteral(u"表"));
}

// Found by fuzzing: a CP932 lead byte whose pair has no character hides the ']' after it, so
// "[\x82]\x81\x5C" is no header; in UTF-8 the ']' would show. When the file changes to UTF-8,
// such a pair becomes U+FFFD and the keys after the line stay in their section.
TEST_F(IniFileTest, ChangingToUtf8KeepsEverySection) {
  IniFile ini = IniFile::FromBytes("[S]\r\n[\x82]\x81\x5C\r\nK=1\r\n[a\x82]b]\r\nL=2\r\n");
  ASSERT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 1);
  ini.WriteString(QStringLiteral("T"), QStringLiteral("V"), QStringLiteral(u"café"));
  ASSERT_TRUE(ini.IsUtf8());
  const IniFile saved = IniFile::FromBytes(ini.Contents());
  EXPECT_EQ(saved.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 1);
  EXPECT_EQ(saved.ReadSection(QStringLiteral("S")), QStringList({QStringLiteral("K")}));
  EXPECT_EQ(saved.ReadInteger(QStringLiteral(u"a\uFFFDb"), QStringLiteral("L"), 0), 2);
  EXPECT_EQ(saved.ReadString(QStringLiteral("T"), QStringLiteral("V"), QString()),
            QStringLiteral(u"café"));
}

// Found by fuzzing: bytes kept from CP932 that would join into a character in UTF-8 (0xEB 0x80
// 0x80 is U+B000) read back as that character. The first of them is written as '?', so the value
// reads back as written, and it takes as many bytes as in CP932: a value of 1023 keeps its end.
TEST_F(IniFileTest, KeptBytesNeverJoinIntoACharacterInUtf8) {
  IniFile ini = IniFile::FromBytes("[S]\r\nK=a\xEB\x80\x80z\r\n");
  const QString kept = ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString());
  ASSERT_EQ(kept, QStringLiteral("a") + QChar(0xDCEB) + QChar(0xDC80) + QChar(0xDC80) + "z");
  ini.WriteString(QStringLiteral("S"), QStringLiteral("E"), QStringLiteral(u"é"));
  ini.WriteString(QStringLiteral("S"), QStringLiteral("W"), kept);
  const IniFile saved = IniFile::FromBytes(ini.Contents());
  const QString mended = QStringLiteral("a?") + QChar(0xDC80) + QChar(0xDC80) + "z";
  EXPECT_EQ(saved.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), mended);
  EXPECT_EQ(saved.ReadString(QStringLiteral("S"), QStringLiteral("W"), QString()), mended);

  const QByteArray full = QByteArray(1017, 'x') + "\xEB\x80\x80\xEF\x88\x88";
  IniFile longValue = IniFile::FromBytes("[S]\r\nK=" + full + "\r\n");
  const QString whole = longValue.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString());
  ASSERT_EQ(whole.size(), 1023);
  longValue.WriteString(QStringLiteral("S"), QStringLiteral("E"), QStringLiteral(u"é"));
  EXPECT_EQ(IniFile::FromBytes(longValue.Contents())
                .ReadString(QStringLiteral("S"), QStringLiteral("K"), QString())
                .size(),
            1023);
}

// Found by fuzzing: CP932 decodes a lead byte whose pair is no character as that byte alone and
// reads on from the next one. A cut that counted such a pair as two bytes ended a byte before
// the cut of the same value in UTF-8, so a long value grew when its file changed to UTF-8, and
// could end in half of a character that the decoder had read whole.
TEST_F(IniFileTest, LeadBytesWithoutACharacterAreCutAsTheyAreRead) {
  const auto kept = [](const QByteArray& value) {
    IniFile ini = IniFile::FromBytes("[S]\r\nK=" + value + "\r\n");
    const QString text = ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString());
    ini.WriteString(QStringLiteral("S"), QStringLiteral("E"), QStringLiteral(u"é"));
    EXPECT_TRUE(ini.IsUtf8());
    EXPECT_EQ(IniFile::FromBytes(ini.Contents())
                  .ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()),
              text);
    return text;
  };
  EXPECT_EQ(kept(QByteArray(2000, '\x88')), QString(1023, QChar(0xDC88)));
  // 0x88 0x88 is no character, 0x88 0x9F is one: each three bytes read as a kept byte and a kanji.
  const QString unit = QString(QChar(0xDC88)) + QStringLiteral(u"亜");
  EXPECT_EQ(kept(QByteArray("\x88\x88\x9F").repeated(400)), unit.repeated(341));
}
