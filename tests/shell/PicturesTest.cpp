#include "Pictures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr std::array AllPictures{
    ShellPicture::New,      ShellPicture::Open,        ShellPicture::Save,   ShellPicture::Copy,
    ShellPicture::SetGraph, ShellPicture::SetFunction, ShellPicture::Trash,  ShellPicture::Redraw,
    ShellPicture::Font,     ShellPicture::Color,       ShellPicture::Program};

QImage image(ShellPicture picture, int size) {
  return shellPicture(picture, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

double coveredShare(const QImage& picture) {
  int covered = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      covered += qAlpha(picture.pixel(x, y)) > 64;
  return double(covered) / (picture.width() * picture.height());
}

double differingShare(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      differing += qAbs(qAlpha(p) - qAlpha(q)) > 64 || qAbs(qGray(p) - qGray(q)) > 64;
    }
  return double(differing) / (a.width() * a.height());
}

bool hasColour(const QImage& picture) {
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = QColor::fromRgba(picture.pixel(x, y));
      if (c.alpha() > 128 && c.hsvSaturation() > 100) return true;
    }
  return false;
}

} // namespace

TEST(Pictures, EveryPictureCoversItsSquareAndDiffersFromTheOthersAtButtonSizes) {
  for (int size : {16, 25}) {
    for (ShellPicture picture : AllPictures) {
      const QImage drawn = image(picture, size);
      ASSERT_EQ(drawn.size(), QSize(size, size));
      const double share = coveredShare(drawn);
      EXPECT_GT(share, 0.12) << int(picture) << " at " << size;
      EXPECT_LT(share, 0.99) << int(picture) << " at " << size; // never a filled square
    }
    for (size_t i = 0; i < AllPictures.size(); ++i)
      for (size_t j = i + 1; j < AllPictures.size(); ++j)
        EXPECT_GT(differingShare(image(AllPictures[i], size), image(AllPictures[j], size)), 0.08)
            << int(AllPictures[i]) << " and " << int(AllPictures[j]) << " at " << size;
  }
}

TEST(Pictures, TheProgramIconKeepsItsDesignAtLargeSizes) {
  const QImage large = image(ShellPicture::Program, 256);
  EXPECT_GT(coveredShare(large), 0.8); // the frame fills the square
  EXPECT_TRUE(hasColour(large));
  // The same design at every size: the large picture scaled down matches the small one.
  const QImage scaled = large.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(differingShare(scaled, image(ShellPicture::Program, 32)), 0.05);
}

TEST(Pictures, TheDisabledIconIsAPaleGreyFormOfTheNormalOne) {
  for (ShellPicture picture : AllPictures) {
    const QIcon icon = shellIcon(picture);
    const QImage normal =
        icon.pixmap(25, QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage disabled =
        icon.pixmap(25, QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(disabled.size(), QSize(25, 25));
    EXPECT_GT(coveredShare(disabled), 0.05) << int(picture);
    EXPECT_FALSE(hasColour(disabled)) << int(picture);
    EXPECT_GT(differingShare(normal, disabled), 0.03) << int(picture); // paler, not the same
  }
}
