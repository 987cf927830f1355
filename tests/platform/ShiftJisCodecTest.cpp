// Tests of the CP932 codec: Japanese round trips, the byte forms whose second byte looks like
// ASCII, characters without a CP932 form, and damaged input kept byte for byte.
#include "ShiftJisCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(ShiftJisCodecTest, JapaneseTextRoundTrips) {
  const QString text = QStringLiteral(u"関数グラフ ＭＳ Ｐゴシック y=sin(x) ソ表示");
  bool lossless = false;
  const QByteArray bytes = toShiftJis(text, &lossless);
  EXPECT_TRUE(lossless);
  EXPECT_EQ(fromShiftJis(bytes), text);
}

TEST(ShiftJisCodecTest, EncodesDoubleByteCharacters) {
  EXPECT_EQ(toShiftJis(QStringLiteral(u"ゾアヂ表")),
            QByteArray("\x83\x5D\x83\x41\x83\x61\x95\x5C"));
  EXPECT_EQ(toShiftJis(QStringLiteral("Left=-12")), QByteArray("Left=-12"));
  EXPECT_EQ(toShiftJis(QString()), QByteArray());
}

TEST(ShiftJisCodecTest, CharactersWithoutCp932FormBecomeQuestionMarks) {
  bool lossless = true;
  EXPECT_EQ(toShiftJis(QStringLiteral(u"a\U0001F600b\u00E9c"), &lossless), QByteArray("a?b?c"));
  EXPECT_FALSE(lossless);
}

// Found by fuzzing: the converter writes U+00A2 as the code of the full-width U+FFE0, so a
// caption with a cent sign saved in CP932 came back with another character.
TEST(ShiftJisCodecTest, CharactersThatReadBackAsOthersAreNotLossless) {
  for (const QString& text : {QStringLiteral(u"ap\u00A2\\"), QStringLiteral(u"\u00A3"),
                              QStringLiteral(u"1\u301C2"), QStringLiteral(u"\u2212")}) {
    bool lossless = true;
    toShiftJis(text, &lossless);
    EXPECT_FALSE(lossless) << qPrintable(text);
  }
  for (const QString& text : {QStringLiteral(u"\uFFE0"), QStringLiteral(u"1\uFF5E2"),
                              QStringLiteral(u"\u95A2\u6570")}) {
    bool lossless = false;
    EXPECT_EQ(fromShiftJis(toShiftJis(text, &lossless)), text);
    EXPECT_TRUE(lossless) << qPrintable(text);
  }
}

TEST(ShiftJisCodecTest, InvalidBytesAreKeptAsEscapesAndWrittenBack) {
  const QByteArray damaged[] = {"a\xFD"
                                "b",
                                "\x85\x40z", "ok\x81", "\xA0\xFD"};
  EXPECT_EQ(fromShiftJis(damaged[0]), QStringLiteral("a") + QChar(0xDCFD) + QLatin1Char('b'));
  EXPECT_EQ(fromShiftJis(damaged[1]), QChar(0xDC85) + QStringLiteral("@z"));
  EXPECT_EQ(fromShiftJis(damaged[2]), QStringLiteral("ok") + QChar(0xDC81));
  for (const QByteArray& bytes : damaged) {
    bool lossless = false;
    EXPECT_EQ(toShiftJis(fromShiftJis(bytes), &lossless), bytes);
    EXPECT_TRUE(lossless);
  }
  // Half of a real character outside the code page is no escape.
  bool lossless = true;
  EXPECT_EQ(toShiftJis(QStringLiteral(u"\U00010080"), &lossless), QByteArray("?"));
  EXPECT_FALSE(lossless);
}

TEST(ShiftJisCodecTest, NulBytesAreKept) {
  const QString text = fromShiftJis(QByteArray("a\0b", 3));
  ASSERT_EQ(text.size(), 3);
  EXPECT_EQ(text[1], QChar(0));
}

TEST(ShiftJisCodecTest, ArbitraryBytesNeverFail) {
  QByteArray bytes;
  for (int i = 0; i < 256 * 64; ++i)
    bytes += static_cast<char>((i * 37 + i / 256) & 0xFF);
  const QString text = fromShiftJis(bytes);
  EXPECT_FALSE(text.isEmpty());
  EXPECT_EQ(toShiftJis(text), bytes);
}

} // namespace

namespace {

// The byte facts agree with the encoder: every character it writes in two bytes starts with a
// lead byte, and every one it writes in one byte is single-byte and no lead byte.
TEST(ShiftJisCodecTest, LeadAndSingleBytesAreThoseTheEncoderWrites) {
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (QChar::isSurrogate(c)) continue;
    bool lossless = false;
    const QByteArray bytes = toShiftJis(QString(QChar(char16_t(c))), &lossless);
    if (!lossless) continue;
    ASSERT_EQ(isShiftJisSingleByte(c), bytes.size() == 1) << std::hex << unsigned(c);
    ASSERT_EQ(isShiftJisLeadByte(bytes[0]), bytes.size() == 2) << std::hex << unsigned(c);
  }
}

} // namespace
