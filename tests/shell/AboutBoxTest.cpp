#include "DlgVersion.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(AboutBox, ShowsTheProgramNameAndIconAndClosesWithOK) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_TRUE(box.isModal());
  EXPECT_EQ(box.ProductName->text(), QStringLiteral("Kurvo version 3.2"));
  ASSERT_FALSE(box.ProgramIcon->pixmap().isNull());
  // Both lie inside the panel, which leaves room for the button below it, and nothing is cut
  // off by the box's edges.
  EXPECT_TRUE(box.Panel1->rect().contains(box.ProgramIcon->geometry()));
  EXPECT_TRUE(box.Panel1->rect().contains(box.ProductName->geometry()));
  EXPECT_FALSE(box.Panel1->geometry().intersects(box.OKButton->geometry()));
  EXPECT_TRUE(box.rect().contains(box.Panel1->geometry()));
  EXPECT_TRUE(box.rect().contains(box.OKButton->geometry()));

  box.open();
  ASSERT_TRUE(box.isVisible());
  QTest::mouseClick(box.OKButton, Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
}
