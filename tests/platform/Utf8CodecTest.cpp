// Tests of the UTF-8 codec of documents: valid text as the standard codec gives it, and every
// byte that is not valid UTF-8 kept through a round trip.
#include "Utf8Codec.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8CodecTest, ValidTextIsTheStandardForm) {
  const QString text = QStringLiteral(u"Ω café 😀 関数");
  EXPECT_EQ(toUtf8KeepingBytes(text), text.toUtf8());
  EXPECT_EQ(fromUtf8KeepingBytes(text.toUtf8()), text);
}

TEST(Utf8CodecTest, InvalidBytesRoundTrip) {
  // A lone continuation byte, a cut sequence, an overlong form, an encoded surrogate, a lead
  // byte beyond U+10FFFF.
  const QByteArray bytes("a\xA0\xFD"
                         "b\xE3\x81 \xC0\xAF\xED\xA0\x80\xF5\x80\x80\x80z");
  const QString text = fromUtf8KeepingBytes(bytes);
  const QString start = QStringLiteral("a") + QChar(0xDCA0) + QChar(0xDCFD) + QLatin1Char('b') +
                        QChar(0xDCE3) + QChar(0xDC81) + QLatin1Char(' ');
  EXPECT_TRUE(text.startsWith(start));
  EXPECT_TRUE(text.endsWith(QLatin1Char('z')));
  EXPECT_EQ(toUtf8KeepingBytes(text), bytes);

  QByteArray all;
  for (int i = 0; i < 256 * 16; ++i)
    all += static_cast<char>((i * 37 + i / 256) & 0xFF);
  EXPECT_EQ(toUtf8KeepingBytes(fromUtf8KeepingBytes(all)), all);
}

} // namespace

namespace {

// Bytes kept from another encoding that would join into a character: the first is written as
// '?', every other kept byte as it was, and the result reads back as written.
TEST(Utf8CodecTest, KeptBytesThatWouldJoinAreMended) {
  const auto escapes = [](std::initializer_list<unsigned char> bytes) {
    QString text;
    for (const unsigned char byte : bytes)
      text += QChar(static_cast<char16_t>(0xDC00 + byte));
    return text;
  };
  const QString joining = QStringLiteral("a") + escapes({0xEB, 0x80, 0x80}) + QStringLiteral("z");
  const QByteArray bytes = toUtf8ReadingBack(joining);
  EXPECT_EQ(bytes, QByteArray("a?\x80\x80z"));
  EXPECT_EQ(fromUtf8KeepingBytes(bytes), QStringLiteral("a?") + escapes({0x80, 0x80}) + "z");

  const QString lone = escapes({0x80, 0xEB}) + QStringLiteral(u"é") + escapes({0xA0, 0xFD});
  EXPECT_EQ(toUtf8ReadingBack(lone), toUtf8KeepingBytes(lone));
  EXPECT_EQ(fromUtf8KeepingBytes(toUtf8ReadingBack(lone)), lone);
}

} // namespace
