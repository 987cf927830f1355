// Tests of the UTF-8 codec of documents: valid text as the standard codec gives it, and every
// byte that is not valid UTF-8 kept through a round trip.
#include "Utf8Codec.h"

#include "ByteEscapes.h"

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

namespace {

// Lead and continuation bytes, lengths and characters agree with the standard encoder.
TEST(Utf8CodecTest, SequencesReadAsTheStandardEncoderWritesThem) {
  for (char32_t c = 1; c <= 0x10FFFF; c += c < 0x800 ? 1 : 97) {
    if (QChar::isSurrogate(c)) continue;
    const QByteArray bytes = QString::fromUcs4(&c, 1).toUtf8();
    ASSERT_EQ(utf8SequenceLength(bytes, 0), bytes.size()) << std::hex << unsigned(c);
    ASSERT_EQ(utf8LengthOfLead(bytes[0]), bytes.size());
    ASSERT_EQ(utf8Character(bytes, 0, bytes.size()), c);
    ASSERT_FALSE(isUtf8Continuation(bytes[0]));
    for (qsizetype k = 1; k < bytes.size(); ++k)
      ASSERT_TRUE(isUtf8Continuation(bytes[k]));
  }
}

// The three-byte form of each escape reads back as it, is no well-formed UTF-8, and is told
// apart from the characters around it.
TEST(Utf8CodecTest, EscapesInTheirThreeByteFormReadBack) {
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const QChar escape = escapeOfByte(static_cast<unsigned char>(byte));
    const std::array<char, 3> form = escapeAsUtf8Bytes(escape);
    const QByteArray bytes = "a" + QByteArray(form.data(), 3) + "b";
    EXPECT_EQ(escapeOfUtf8Bytes(bytes, 1), escape) << byte;
    EXPECT_EQ(utf8SequenceLength(bytes, 1), 0) << byte;
    EXPECT_EQ(escapeOfUtf8Bytes(bytes, 0), std::nullopt);
    EXPECT_EQ(escapeOfUtf8Bytes(bytes, 2), std::nullopt);
  }
  for (const QByteArray& bytes : {QByteArray("\xED\x9F\xBF"), QByteArray("\xED\xB2"),
                                 QByteArray("\xED\xB2\x41"), QByteArray("\xED\xB1\xBF")})
    EXPECT_EQ(escapeOfUtf8Bytes(bytes, 0), std::nullopt) << bytes.toHex().toStdString();
}

} // namespace
