// Tests of the CP932 codec: Japanese round trips, the byte forms whose second byte looks like
// ASCII, characters without a CP932 form, and damaged input.
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

TEST(ShiftJisCodecTest, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(fromShiftJis(QByteArray("a\xFD"
                                    "b")),
            QStringLiteral(u"a\uFFFDb"));
  EXPECT_EQ(fromShiftJis(QByteArray("\x85\x40z")), QStringLiteral(u"\uFFFD@z"));
  EXPECT_EQ(fromShiftJis(QByteArray("ok\x81")), QStringLiteral(u"ok\uFFFD"));
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
  EXPECT_EQ(fromShiftJis(toShiftJis(text)), QString(text).replace(QChar(0xFFFD), QLatin1Char('?')));
}

} // namespace
