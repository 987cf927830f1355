#include "QtObjects.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include <utility>
#include <vector>

namespace {

TEST(QtObjectsColorTest, RgbBytesRedFirst) {
  EXPECT_EQ(toQColor(255), QColor(255, 0, 0));
  EXPECT_EQ(toQColor(16711680), QColor(0, 0, 255));
  EXPECT_EQ(toQColor(0x00123456), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(toQColor(14745599), QColor(255, 255, 224));
  EXPECT_EQ(fromQColor(QColor(0x56, 0x34, 0x12)), 0x00123456);
  EXPECT_EQ(fromQColor(toQColor(32768)), 32768);
}

class SystemColorTest : public ::testing::Test {
protected:
  // A palette with a different colour for every role, so that each lookup shows its role.
  void SetUp() override {
    saved_ = QGuiApplication::palette();
    QPalette palette;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      palette.setColor(QPalette::Active, QPalette::ColorRole(role), QColor(role, 10, 20));
      palette.setColor(QPalette::Disabled, QPalette::ColorRole(role), QColor(role, 99, 20));
    }
    QGuiApplication::setPalette(palette);
  }
  void TearDown() override { QGuiApplication::setPalette(saved_); }

  static QColor role(QPalette::ColorRole r) { return QColor(r, 10, 20); }

private:
  QPalette saved_;
};

TEST_F(SystemColorTest, IndexesTakeTheirPaletteRoles) {
  const std::vector<std::pair<int, QPalette::ColorRole>> table{
      {5, QPalette::Base},         {8, QPalette::WindowText},
      {13, QPalette::Highlight},   {14, QPalette::HighlightedText},
      {15, QPalette::Button},      {18, QPalette::ButtonText},
      {20, QPalette::Light},       {16, QPalette::Dark},
      {24, QPalette::ToolTipBase}, {23, QPalette::ToolTipText},
      {30, QPalette::Window}};
  for (const auto& [index, paletteRole] : table)
    EXPECT_EQ(toQColor(systemColor(static_cast<std::uint8_t>(index))), role(paletteRole)) << index;
  EXPECT_EQ(toQColor(systemColor(17)), QColor(QPalette::Text, 99, 20)) << "grey text is disabled";
}

TEST_F(SystemColorTest, IndexIsTheLowByteAndUnknownIndexesAreBlack) {
  EXPECT_EQ(toQColor(kWindowText), role(QPalette::WindowText));
  EXPECT_EQ(toQColor(static_cast<GraphColor>(0xFF000008)), role(QPalette::WindowText));
  EXPECT_EQ(toQColor(systemColor(25)), QColor(Qt::black));
  EXPECT_EQ(toQColor(systemColor(200)), QColor(Qt::black));
}

TEST(QtObjectsPenTest, ColourWidthAndStyle) {
  const QPen pen = toQPen(TPen{rgbColor(0, 128, 0), PenStyle::Solid, 3});
  EXPECT_EQ(pen.color(), QColor(0, 128, 0));
  EXPECT_EQ(pen.width(), 3);
  EXPECT_EQ(toQPen(TPen{kBlack, PenStyle::Solid, 0}).width(), 1);
  EXPECT_EQ(toQPen(TPen{kBlack, PenStyle::Solid, -5}).width(), 1);

  const std::vector<std::pair<PenStyle, Qt::PenStyle>> styles{
      {PenStyle::Solid, Qt::SolidLine},
      {PenStyle::Dash, Qt::DashLine},
      {PenStyle::Dot, Qt::DotLine},
      {PenStyle::DashDot, Qt::DashDotLine},
      {PenStyle::DashDotDot, Qt::DashDotDotLine},
      {PenStyle::Clear, Qt::NoPen},
      {PenStyle::InsideFrame, Qt::SolidLine},
      {static_cast<PenStyle>(42), Qt::SolidLine}};
  for (const auto& [style, qtStyle] : styles)
    EXPECT_EQ(toQPen(TPen{kBlack, style, 1}).style(), qtStyle) << static_cast<int>(style);
}

TEST(QtObjectsBrushTest, ColourAndStyle) {
  EXPECT_EQ(toQBrush(TBrush{14745599, BrushStyle::Solid}).color(), QColor(255, 255, 224));
  const std::vector<std::pair<BrushStyle, Qt::BrushStyle>> styles{
      {BrushStyle::Solid, Qt::SolidPattern},
      {BrushStyle::Clear, Qt::NoBrush},
      {BrushStyle::Horizontal, Qt::HorPattern},
      {BrushStyle::Vertical, Qt::VerPattern},
      {BrushStyle::ForwardDiagonal, Qt::FDiagPattern},
      {BrushStyle::BackwardDiagonal, Qt::BDiagPattern},
      {BrushStyle::Cross, Qt::CrossPattern},
      {BrushStyle::DiagonalCross, Qt::DiagCrossPattern},
      {static_cast<BrushStyle>(8), Qt::SolidPattern},
      {static_cast<BrushStyle>(-1), Qt::SolidPattern}};
  for (const auto& [style, qtStyle] : styles)
    EXPECT_EQ(toQBrush(TBrush{kWhite, style}).style(), qtStyle) << static_cast<int>(style);
}

TEST(QtObjectsFontTest, NameSizeAndStyleBits) {
  const QFont plain = toQFont(TFont());
  EXPECT_EQ(plain.family(), QString::fromUtf8("ＭＳ Ｐゴシック"));
  EXPECT_EQ(plain.pointSize(), 9);
  EXPECT_FALSE(plain.bold() || plain.italic() || plain.underline() || plain.strikeOut());

  for (std::uint8_t bit : {FontBold, FontItalic, FontUnderline, FontStrikeOut}) {
    TFont font;
    font.Style = bit;
    const QFont qfont = toQFont(font);
    EXPECT_EQ(qfont.bold(), bit == FontBold);
    EXPECT_EQ(qfont.italic(), bit == FontItalic);
    EXPECT_EQ(qfont.underline(), bit == FontUnderline);
    EXPECT_EQ(qfont.strikeOut(), bit == FontStrikeOut);
  }
  TFont tiny;
  tiny.Size = 0;
  EXPECT_EQ(toQFont(tiny).pointSize(), 1);
}

TEST(QtObjectsFontTest, ChosenFontKeepsCharsetAndColour) {
  TFont base;
  base.Charset = 1;
  base.Color = rgbColor(1, 2, 3);
  QFont chosen(QStringLiteral("DejaVu Sans"));
  chosen.setPointSizeF(13.6);
  chosen.setItalic(true);
  chosen.setStrikeOut(true);
  const TFont font = fromQFont(chosen, base);
  EXPECT_EQ(font.Name, "DejaVu Sans");
  EXPECT_EQ(font.Size, 14);
  EXPECT_EQ(font.Style, FontItalic | FontStrikeOut);
  EXPECT_EQ(font.Charset, 1);
  EXPECT_EQ(font.Color, rgbColor(1, 2, 3));
  chosen.setPixelSize(16); // 12 points at 96 dots per inch
  EXPECT_EQ(fromQFont(chosen, base).Size, 12);
}

} // namespace
