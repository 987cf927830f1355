#include "GraphBrush.h"
#include "GraphColor.h"
#include "GraphFont.h"
#include "GraphPen.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphColorTest, StoredValues) {
  EXPECT_EQ(rgbColor(255, 0, 0), 255);
  EXPECT_EQ(rgbColor(0, 0, 255), 16711680);
  EXPECT_EQ(rgbColor(255, 255, 224), 14745599);
  EXPECT_EQ(kWindowText, -2147483640);
  EXPECT_EQ(systemColor(15), static_cast<GraphColor>(0x8000000F));
}

TEST(GraphStylesTest, NewObjectsHaveTheDesktopDefaults) {
  EXPECT_EQ(TPen(), (TPen{kBlack, PenStyle::Solid, 1}));
  EXPECT_EQ(TBrush(), (TBrush{kWhite, BrushStyle::Solid}));
  const TFont font;
  EXPECT_EQ(font.Name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(font, (TFont{128, -2147483640, "ＭＳ Ｐゴシック", 9, 0}));
}

TEST(GraphStylesTest, StoredStyleNumbersAsAReaderTakesThem) {
  for (int value = 0; value <= 6; ++value)
    EXPECT_EQ(penStyleFromStored(value), static_cast<PenStyle>(value));
  for (int value : {-1, 7, 9, 1000})
    EXPECT_EQ(penStyleFromStored(value), PenStyle::Solid) << value;
  EXPECT_EQ(fontStyleFromStored(17), FontBold);
  EXPECT_EQ(fontStyleFromStored(15), FontBold | FontItalic | FontUnderline | FontStrikeOut);
  EXPECT_EQ(fontStyleFromStored(-16), 0);
}

} // namespace
