#include "PenEditDialog.h"

#include "DialogTestSupport.h"
#include "PenWidgets.h"
#include "SpinEdit.h"

#include <QComboBox>
#include <QImage>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// Runs EditPen on the pen while `inside` works the dialog; returns the modal result.
int editPen(TPenEditDlg& dialog, TPen& pen, std::function<void(TPenEditDlg*)> inside) {
  const auto answering = answerNextModal<TPenEditDlg>(std::move(inside));
  return dialog.EditPen(pen);
}

TEST(PenEditDialog, AWidthOutsideOneToTenIsShownAndTakenClamped) {
  TPenEditDlg dialog;
  TPen pen{255, PenStyle::Dot, 0};
  int seen = 0;
  EXPECT_EQ(editPen(dialog, pen,
                    [&](TPenEditDlg* d) {
                      seen = d->WorkingPen()->Width;
                      EXPECT_EQ(d->SpinWidth->text(), QStringLiteral("1"));
                      d->btnOK->click();
                    }),
            QDialog::Accepted);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(pen, (TPen{255, PenStyle::Dot, 1}));

  pen.Width = 25;
  editPen(dialog, pen, [](TPenEditDlg* d) { d->btnOK->click(); });
  EXPECT_EQ(pen.Width, 10);
}

TEST(PenEditDialog, TypedWidthsAreClampedAndTextThatIsNoIntegerCountsAsOne) {
  TPenEditDlg dialog;
  TPen pen{0, PenStyle::Solid, 3};
  std::vector<int> widths;
  editPen(dialog, pen, [&](TPenEditDlg* d) {
    d->SpinWidth->selectAll();
    QTest::keyClicks(d->SpinWidth, QStringLiteral("7"));
    widths.push_back(d->WorkingPen()->Width);
    QTest::keyClicks(d->SpinWidth, QStringLiteral("0")); // "70": shown as typed, taken as 10
    widths.push_back(d->WorkingPen()->Width);
    QTest::keyClicks(d->SpinWidth, QStringLiteral("a.")); // the letter is refused
    EXPECT_EQ(d->SpinWidth->text(), QStringLiteral("70."));
    widths.push_back(d->WorkingPen()->Width);
    d->btnOK->click();
  });
  EXPECT_EQ(widths, (std::vector<int>{7, 10, 1}));
  EXPECT_EQ(pen.Width, 1);
}

TEST(PenEditDialog, ShowsInTheMiddleOfTheScreenNotOverItsParent) {
  QWidget owner;
  owner.setGeometry(10, 10, 200, 100);
  owner.show();
  TPenEditDlg dialog(&owner);
  TPen pen;
  QPoint centre;
  editPen(dialog, pen, [&centre](TPenEditDlg* d) {
    centre = d->geometry().center();
    d->reject();
  });
  // The window's frame, added around the placed window, may shift the client area a little.
  const QPoint offset = centre - owner.screen()->availableGeometry().center();
  EXPECT_LE(std::abs(offset.x()), 4);
  EXPECT_LE(std::abs(offset.y()), 4);
}

TEST(PenEditDialog, EscAndTheWindowFrameCancel) {
  TPenEditDlg dialog;
  const TPen original{255, PenStyle::DashDot, 2};
  TPen pen = original;
  EXPECT_EQ(editPen(dialog, pen,
                    [](TPenEditDlg* d) {
                      QTest::keyClick(d->SpinWidth, Qt::Key_Up);
                      QTest::keyClick(d, Qt::Key_Escape);
                    }),
            QDialog::Rejected);
  EXPECT_EQ(pen, original);
  editPen(dialog, pen, [](TPenEditDlg* d) {
    QTest::keyClick(d->SpinWidth, Qt::Key_Up);
    d->close();
  });
  EXPECT_EQ(pen, original);
  // Enter ends it with OK, the default button. Page Up does not step the width.
  editPen(dialog, pen, [](TPenEditDlg* d) {
    QTest::keyClick(d->SpinWidth, Qt::Key_PageUp);
    QTest::keyClick(d->SpinWidth, Qt::Key_Up);
    QTest::keyClick(d->SpinWidth, Qt::Key_Return);
  });
  EXPECT_EQ(pen.Width, 3);
}

// The pixels of the sample's middle row that are not the window's colour.
int samplePixelsDrawn(TPenEditDlg* dialog) {
  const QImage picture = dialog->ImageSample->grab().toImage();
  const QRgb window = dialog->ImageSample->palette().color(QPalette::Window).rgb();
  int drawn = 0;
  for (int x = 0; x < picture.width(); ++x)
    drawn += picture.pixel(x, picture.height() / 2) != window;
  return drawn;
}

TEST(PenEditDialog, TheLineStyleIsChosenBelowTheWidthAndOnlyOkKeepsIt) {
  TPenEditDlg dialog;
  TPen pen{255, PenStyle::Solid, 2};
  editPen(dialog, pen, [](TPenEditDlg* d) {
    EXPECT_GT(d->ComboStyle->geometry().top(), d->SpinWidth->geometry().bottom());
    EXPECT_GT(d->ImageSample->geometry().top(), d->ComboStyle->geometry().bottom());
    EXPECT_EQ(d->ComboStyle->currentText(), QStringLiteral("実線"));
    for (int i = 0; i < 3; ++i)
      QTest::keyClick(d->ComboStyle, Qt::Key_Down);
    EXPECT_EQ(d->ComboStyle->currentText(), QStringLiteral("一点鎖線"));
    EXPECT_EQ(d->WorkingPen()->Style, PenStyle::DashDot);
    d->btnOK->click();
  });
  EXPECT_EQ(pen, (TPen{255, PenStyle::DashDot, 2}));

  editPen(dialog, pen, [](TPenEditDlg* d) {
    EXPECT_EQ(d->ComboStyle->currentText(), QStringLiteral("一点鎖線"));
    QTest::keyClick(d->ComboStyle, Qt::Key_Down);
    EXPECT_EQ(d->WorkingPen()->Style, PenStyle::DashDotDot);
    d->btnCancel->click();
  });
  EXPECT_EQ(pen.Style, PenStyle::DashDot);

  // A stored style the list does not offer shows no row and is kept.
  pen.Style = PenStyle::Clear;
  editPen(dialog, pen, [](TPenEditDlg* d) {
    EXPECT_EQ(d->ComboStyle->currentIndex(), -1);
    d->btnOK->click();
  });
  EXPECT_EQ(pen.Style, PenStyle::Clear);
}

// The sample is drawn like the curve: dashes for a one-pixel pen, a solid line for a wider one.
TEST(PenEditDialog, TheSampleShowsTheChosenStyle) {
  TPenEditDlg dialog;
  TPen pen{255, PenStyle::Solid, 1};
  editPen(dialog, pen, [](TPenEditDlg* d) {
    const int whole = d->ImageSample->width();
    EXPECT_EQ(samplePixelsDrawn(d), whole);
    QTest::keyClick(d->ComboStyle, Qt::Key_Down); // 破線
    const int dashed = samplePixelsDrawn(d);
    EXPECT_GT(dashed, whole / 4);
    EXPECT_LT(dashed, whole);
    QTest::keyClick(d->SpinWidth, Qt::Key_Up);
    EXPECT_EQ(samplePixelsDrawn(d), whole);
    d->reject();
  });
}

} // namespace
