#include "SetGraphDialog.h"

#include "DialogTestSupport.h"
#include "Evalon.h"
#include "FuncGraph.h"
#include "NumberFormat.h"
#include "PenWidgets.h"
#include "QtObjects.h"
#include "RadioGroup.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// The main window's graph with the engine loaded, and the settings window shown for it.
struct SettingsWindow {
  TEvalon evalon;
  TFuncGraph graph;
  TSetGraphDlg dialog{&graph};

  SettingsWindow() {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.UpdateGraph();
  }
  void show() {
    dialog.show();
    QApplication::processEvents();
  }
  void reopen() {
    dialog.hide();
    show();
  }
  // Types the text into the edit and presses Enter; returns the error box's text, if one came.
  QString enter(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
    return pressEnter(edit);
  }
  QString pressEnter(QLineEdit* edit) {
    QString error;
    const auto answering = answerNextModal<QMessageBox>([&error](QMessageBox* box) {
      error = box->text();
      box->accept();
    });
    QTest::keyClick(edit, Qt::Key_Return);
    return error;
  }
  void answerAutoRange(const QString& button) {
    const auto answering = answerNextModal<QMessageBox>([button](QMessageBox* box) {
      EXPECT_EQ(box->windowTitle(), QStringLiteral("確認"));
      EXPECT_EQ(box->text(), QStringLiteral("Ｙ軸範囲を自動設定しますか？"));
      clickMessageButton(box, button);
    });
    QTest::mouseClick(dialog.LabelYAxis, Qt::LeftButton);
  }
};

// Turns the mouse wheel over the widget by eighths of a notch (a notch is 120), keys held.
void turnWheel(QWidget* widget, int eighths, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  const QPointF at = QRectF(widget->rect()).center();
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 15 * eighths), Qt::NoButton,
                    keys, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

// Qt's default locale, which the number fields follow, for the life of this object.
struct DefaultLocale {
  const QLocale saved;
  explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
  ~DefaultLocale() { QLocale::setDefault(saved); }
};

TEST(SetGraphDialog, ShowingLoadsTheGraphsSettings) {
  SettingsWindow w;
  w.graph.setXMin(-0.25L);
  w.graph.setYMin(0.00001L);
  w.graph.XAxis().GauageType = gtNeg;
  w.graph.YAxis().ValPos = ptUpLeft;
  w.graph.YAxis().GuagePeriod = 0.5L;
  w.show();
  EXPECT_EQ(w.dialog.EditXMin->text(), QStringLiteral("-0.25"));
  EXPECT_EQ(w.dialog.EditXMax->text(), QStringLiteral("3"));
  EXPECT_EQ(w.dialog.EditYMin->text(), QStringLiteral("1E-5"));
  EXPECT_EQ(w.dialog.EditYPeriod->text(), QStringLiteral("0.5"));
  EXPECT_EQ(w.dialog.SpinMBottom->text(), QStringLiteral("20"));
  EXPECT_EQ(w.dialog.RadioXGrad->ItemIndex(), gtNeg);
  EXPECT_EQ(w.dialog.RadioXValPos->ItemIndex(), ptDownRight);
  EXPECT_EQ(w.dialog.RadioYValPos->ItemIndex(), ptUpLeft);
  EXPECT_EQ(w.graph.YAxis().ValPos, ptUpLeft);
}

TEST(SetGraphDialog, AnEditAppliesOnlyOnEnter) {
  SettingsWindow w;
  w.show();
  w.dialog.EditXMax->selectAll();
  QTest::keyClicks(w.dialog.EditXMax, QStringLiteral("5"));
  EXPECT_EQ(w.graph.XMax(), 3.0L);
  EXPECT_EQ(w.enter(w.dialog.EditXMax, QStringLiteral("5")), QString());
  EXPECT_EQ(w.graph.XMax(), 5.0L);
  EXPECT_EQ(w.graph.Mapping().plotRight(), w.graph.XToPixel(5.0L)); // refreshed

  // The edit keeps what was typed until the window is shown again.
  w.enter(w.dialog.EditYMax, QStringLiteral("1e2"));
  EXPECT_EQ(w.graph.YMax(), 100.0L);
  EXPECT_EQ(w.dialog.EditYMax->text(), QStringLiteral("1e2"));
  w.reopen();
  EXPECT_EQ(w.dialog.EditYMax->text(), QStringLiteral("100"));

  // No check between values: a minimum above its maximum and a tick interval of 0 are taken.
  w.enter(w.dialog.EditXMin, QStringLiteral("7"));
  EXPECT_EQ(w.graph.XMin(), 7.0L);
  w.enter(w.dialog.EditXPeriod, QStringLiteral("0"));
  EXPECT_EQ(w.graph.XAxis().GuagePeriod, 0.0L);
  w.enter(w.dialog.EditYPeriod, QStringLiteral("-2.5E-1"));
  EXPECT_EQ(w.graph.YAxis().GuagePeriod, -0.25L);
}

TEST(SetGraphDialog, EnterOnTextThatIsNotANumberShowsTheErrorAndChangesNothing) {
  const DefaultLocale point(QLocale::c());
  SettingsWindow w;
  w.show();
  EXPECT_EQ(w.enter(w.dialog.EditYMin, QStringLiteral("abc")),
            QStringLiteral("'abc' は浮動小数点数ではありません."));
  EXPECT_EQ(w.graph.YMin(), -3.0L);
  EXPECT_EQ(w.dialog.EditYMin->text(), QStringLiteral("abc"));
  EXPECT_EQ(w.enter(w.dialog.EditXPeriod, QStringLiteral("1,5")),
            QStringLiteral("'1,5' は浮動小数点数ではありません."));
  EXPECT_EQ(w.graph.XAxis().GuagePeriod, 1.0L);
}

TEST(SetGraphDialog, UnderADecimalCommaTheFieldsTakeTheTextTheyShowAndThePoint) {
  const DefaultLocale german(QLocale(QLocale::German));
  SettingsWindow w;
  w.graph.setXMin(-0.25L);
  w.graph.XAxis().GuagePeriod = 1.5e-5L;
  w.show();
  EXPECT_EQ(w.dialog.EditXMin->text(), QStringLiteral("-0,25"));
  EXPECT_EQ(w.dialog.EditXPeriod->text(), QStringLiteral("1,5E-5"));
  // The shown range reads back exactly (the dialog follows the graph's range, so the graph's
  // own value is the check); the period is changed first.
  w.graph.XAxis().GuagePeriod = 1;
  EXPECT_EQ(w.pressEnter(w.dialog.EditXMin), QString());
  EXPECT_EQ(w.graph.XMin(), -0.25L);
  EXPECT_EQ(w.pressEnter(w.dialog.EditXPeriod), QString());
  EXPECT_EQ(w.graph.XAxis().GuagePeriod, textToFloat(QStringLiteral("1.5E-5")));

  EXPECT_EQ(w.enter(w.dialog.EditYMax, QStringLiteral("2.5")), QString());
  EXPECT_EQ(w.graph.YMax(), 2.5L);
  EXPECT_EQ(w.enter(w.dialog.EditYMin, QStringLiteral("1,5,0")),
            QStringLiteral("'1,5,0' は浮動小数点数ではありません."));
  EXPECT_EQ(w.graph.YMin(), -3.0L);
}

TEST(SetGraphDialog, MarginsAreClampedToOneToHundredAndChangeByTheArrowsOnly) {
  SettingsWindow w;
  w.graph.setMarginTop(0);
  w.graph.setMarginRight(150);
  w.show();
  EXPECT_EQ(w.dialog.SpinMTop->text(), QStringLiteral("1"));
  EXPECT_EQ(w.graph.MarginTop(), 1);
  EXPECT_EQ(w.dialog.SpinMRight->text(), QStringLiteral("100"));
  EXPECT_EQ(w.graph.MarginRight(), 100);
  EXPECT_EQ(w.graph.MarginLeft(), 10);

  // The box already shows 1: the clamped value is still written back.
  w.graph.setMarginTop(-5);
  w.reopen();
  EXPECT_EQ(w.graph.MarginTop(), 1);

  QTest::keyClicks(w.dialog.SpinMLeft, QStringLiteral("5"));
  QTest::keyClick(w.dialog.SpinMLeft, Qt::Key_Backspace);
  EXPECT_EQ(w.dialog.SpinMLeft->text(), QStringLiteral("10"));
  EXPECT_EQ(w.graph.MarginLeft(), 10);
  QTest::keyClick(w.dialog.SpinMLeft, Qt::Key_Up);
  EXPECT_EQ(w.graph.MarginLeft(), 11);
  QTest::keyClick(w.dialog.SpinMTop, Qt::Key_Down);
  EXPECT_EQ(w.graph.MarginTop(), 1);
  QTest::keyClick(w.dialog.SpinMRight, Qt::Key_Up);
  EXPECT_EQ(w.graph.MarginRight(), 100);
  QTest::keyClick(w.dialog.SpinMBottom, Qt::Key_Down);
  EXPECT_EQ(w.graph.MarginBottom(), 19);
  EXPECT_EQ(w.graph.Mapping().plotBottom(), 316 - 19);
}

TEST(SetGraphDialog, NoBoxStepsByTenAndTheMarginsLetTheWheelPass) {
  SettingsWindow w;
  w.show();
  const int left = w.graph.MarginLeft(), top = w.graph.MarginTop();
  const int right = w.graph.MarginRight(), bottom = w.graph.MarginBottom();
  QTest::keyClick(w.dialog.SpinMLeft, Qt::Key_PageUp);
  QTest::keyClick(w.dialog.SpinMBottom, Qt::Key_PageDown);
  turnWheel(w.dialog.SpinMRight, -8);
  turnWheel(w.dialog.SpinMTop, 16, Qt::ControlModifier);
  EXPECT_EQ(w.dialog.SpinMLeft->text(), QString::number(left));
  EXPECT_EQ(w.graph.MarginLeft(), left);
  EXPECT_EQ(w.graph.MarginTop(), top);
  EXPECT_EQ(w.graph.MarginRight(), right);
  EXPECT_EQ(w.graph.MarginBottom(), bottom);

  // A box that can be typed into steps by one per notch, also with Ctrl held.
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  QTest::keyClick(w.dialog.SpinXXDist, Qt::Key_PageUp);
  EXPECT_EQ(w.graph.XAxis().ValXDist, 0);
  turnWheel(w.dialog.SpinXXDist, 8);
  EXPECT_EQ(w.graph.XAxis().ValXDist, 1);
  turnWheel(w.dialog.SpinXXDist, -8, Qt::ControlModifier);
  EXPECT_EQ(w.graph.XAxis().ValXDist, 0);
  turnWheel(w.dialog.SpinXYDist, 4);
  EXPECT_EQ(w.graph.XAxis().ValYDist, 0);
  turnWheel(w.dialog.SpinXYDist, 4);
  EXPECT_EQ(w.graph.XAxis().ValYDist, 1);
  QTest::keyClick(w.dialog.SpinXYDist, Qt::Key_PageDown);
  EXPECT_EQ(w.graph.XAxis().ValYDist, 1);
}

TEST(SetGraphDialog, OffsetBoxesKeepTheGraphsValuesAndApplyWhatIsTyped) {
  SettingsWindow w;
  w.graph.XAxis().ValXDist = 3;
  w.graph.XAxis().ValYDist = -2;
  w.graph.YAxis().ValXDist = 5;
  w.graph.YAxis().ValYDist = 7;
  w.show();
  EXPECT_EQ(w.dialog.SpinXYDist->text(), QStringLiteral("-2"));
  EXPECT_EQ(w.dialog.SpinYYDist->text(), QStringLiteral("7"));
  EXPECT_EQ(w.graph.XAxis().ValXDist, 3);
  EXPECT_EQ(w.graph.XAxis().ValYDist, -2);
  EXPECT_EQ(w.graph.YAxis().ValXDist, 5);
  EXPECT_EQ(w.graph.YAxis().ValYDist, 7);

  w.dialog.SpinYXDist->selectAll();
  QTest::keyClicks(w.dialog.SpinYXDist, QStringLiteral("7"));
  EXPECT_EQ(w.graph.YAxis().ValXDist, 7);
  w.dialog.SpinXXDist->selectAll();
  QTest::keyClicks(w.dialog.SpinXXDist, QStringLiteral("-12"));
  EXPECT_EQ(w.graph.XAxis().ValXDist, -12);
  // Letters are refused; a text that is not an integer applies 0.
  QTest::keyClicks(w.dialog.SpinXXDist, QStringLiteral("x"));
  EXPECT_EQ(w.dialog.SpinXXDist->text(), QStringLiteral("-12"));
  w.dialog.SpinXYDist->selectAll();
  QTest::keyClicks(w.dialog.SpinXYDist, QStringLiteral("1.5"));
  EXPECT_EQ(w.dialog.SpinXYDist->text(), QStringLiteral("1.5"));
  EXPECT_EQ(w.graph.XAxis().ValYDist, 0);
  QTest::keyClick(w.dialog.SpinYYDist, Qt::Key_Down);
  EXPECT_EQ(w.graph.YAxis().ValYDist, 6);
}

TEST(SetGraphDialog, RadioItemsSetTickKindAndValuePosition) {
  SettingsWindow w;
  w.show();
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  QTest::mouseClick(w.dialog.RadioXGrad->Item(gtNeg), Qt::LeftButton);
  EXPECT_EQ(w.graph.XAxis().GauageType, gtNeg);
  QTest::mouseClick(w.dialog.RadioXValPos->Item(ptNone), Qt::LeftButton);
  EXPECT_EQ(w.graph.XAxis().ValPos, ptNone);
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet3);
  QTest::mouseClick(w.dialog.RadioYGrad->Item(gtPos), Qt::LeftButton);
  EXPECT_EQ(w.graph.YAxis().GauageType, gtPos);
  QTest::mouseClick(w.dialog.RadioYValPos->Item(ptUpRight), Qt::LeftButton);
  EXPECT_EQ(w.graph.YAxis().ValPos, ptUpRight);
  EXPECT_EQ(w.graph.XAxis().GauageType, gtNeg);
  EXPECT_EQ(w.dialog.RadioYGrad->Item(gtPos)->text(), QStringLiteral("右側"));
}

TEST(SetGraphDialog, RadioItemsSitInsideTheirFramesBelowTheCaptionsAndShowWhole) {
  SettingsWindow w;
  w.show();
  for (QWidget* page : {w.dialog.TabSheet2, w.dialog.TabSheet3}) {
    w.dialog.PageControl1->setCurrentWidget(page);
    QApplication::processEvents();
    for (TRadioGroup* group : page->findChildren<TRadioGroup*>()) {
      const QRect inside = group->contentsRect();
      const QString name = group->title();
      int above = std::max(inside.top(), group->fontMetrics().height()) - 1;
      for (int i = 0; group->Item(i); ++i) {
        const QRect item = group->Item(i)->geometry();
        EXPECT_GT(item.top(), above) << name.toStdString() << i;
        EXPECT_LE(item.bottom(), inside.bottom()) << name.toStdString() << i;
        const int indicator = group->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight);
        EXPECT_GE(item.height(), std::max(group->fontMetrics().height(), indicator))
            << name.toStdString() << i;
        above = item.bottom();
      }
    }
  }
}

TEST(SetGraphDialog, TheFontButtonSetsTheAxisFontKeepingCharsetAndColour) {
  SettingsWindow w;
  w.graph.YAxis().ValFont.Color = 255;
  w.show();
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet3);
  auto answering = answerNextModal<QFontDialog>([](QFontDialog* dialog) {
    QFont font(QStringLiteral("IPAGothic"), 14);
    font.setUnderline(true);
    font.setStrikeOut(true);
    dialog->setCurrentFont(font);
    dialog->accept();
  });
  QTest::mouseClick(w.dialog.btnYFont, Qt::LeftButton);
  const TFont& font = w.graph.YAxis().ValFont;
  EXPECT_EQ(font.Name, "IPAGothic");
  EXPECT_EQ(font.Size, 14);
  EXPECT_EQ(font.Style, FontUnderline | FontStrikeOut);
  EXPECT_EQ(font.Color, 255);
  EXPECT_EQ(font.Charset, kShiftJisCharset);
  EXPECT_EQ(w.graph.XAxis().ValFont, TFont());

  answering = answerNextModal<QFontDialog>([](QFontDialog* dialog) {
    dialog->setCurrentFont(QFont(QStringLiteral("IPAGothic"), 20));
    dialog->reject();
  });
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  QTest::mouseClick(w.dialog.btnXFont, Qt::LeftButton);
  EXPECT_EQ(w.graph.XAxis().ValFont, TFont());
}

TEST(SetGraphDialog, WhatTheFontDialogLeftAsShownKeepsTheAxisFontsValue) {
  SettingsWindow w;
  TFont gothic;
  gothic.Name = "ＭＳ ゴシック";
  gothic.Size = 10;
  gothic.Style = FontItalic | FontUnderline;
  gothic.Charset = 1;
  gothic.Color = 255;
  w.graph.XAxis().ValFont = gothic;
  w.show();
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  auto answering = answerNextModal<QFontDialog>([](QFontDialog* dialog) { dialog->accept(); });
  QTest::mouseClick(w.dialog.btnXFont, Qt::LeftButton);
  EXPECT_EQ(w.graph.XAxis().ValFont, gothic);
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet3);
  answering = answerNextModal<QFontDialog>([](QFontDialog* dialog) { dialog->accept(); });
  QTest::mouseClick(w.dialog.btnYFont, Qt::LeftButton);
  EXPECT_EQ(w.graph.YAxis().ValFont, TFont());

  // Only the size changed: the typeface keeps its name and the style its bits.
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  answering = answerNextModal<QFontDialog>([](QFontDialog* dialog) {
    QFont font = dialog->currentFont();
    font.setPointSize(14);
    dialog->setCurrentFont(font);
    dialog->accept();
  });
  QTest::mouseClick(w.dialog.btnXFont, Qt::LeftButton);
  TFont bigger = gothic;
  bigger.Size = 14;
  EXPECT_EQ(w.graph.XAxis().ValFont, bigger);
}

TEST(SetGraphDialog, ClickingTheYCaptionFitsTheYRangeWhenConfirmed) {
  SettingsWindow w;
  w.graph.setFormulaText(1, QStringLiteral("2.5"));
  w.graph.setFormulaText(2, QStringLiteral("-0.5"));
  w.show();
  w.answerAutoRange(QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_EQ(w.graph.YMin(), -3.0L);
  EXPECT_EQ(w.graph.YMax(), 3.0L);

  w.answerAutoRange(QStringLiteral("はい(&Y)"));
  EXPECT_EQ(w.graph.YMin(), -1.0L);
  EXPECT_EQ(w.graph.YMax(), 3.0L);
  EXPECT_EQ(w.dialog.EditYMin->text(), QStringLiteral("-1"));
  EXPECT_EQ(w.dialog.EditYMax->text(), QStringLiteral("3"));
  EXPECT_EQ(w.graph.YToPixel(-1.0L), w.graph.Mapping().plotBottom()); // refreshed
  EXPECT_EQ(w.graph.XMin(), -3.0L);
}

TEST(SetGraphDialog, AReleaseAwayFromTheYCaptionIsNoClick) {
  SettingsWindow w;
  w.graph.setFormulaText(1, QStringLiteral("2.5"));
  w.show();
  QLabel* caption = w.dialog.LabelYAxis;
  int asked = 0;
  for (const QPoint away :
       {caption->rect().center() + QPoint(150, 0), QPoint(caption->width(), 0)}) {
    const auto answering = answerNextModal<QMessageBox>([&asked](QMessageBox* box) {
      ++asked;
      clickMessageButton(box, QStringLiteral("はい(&Y)"));
    });
    QTest::mousePress(caption, Qt::LeftButton, {}, caption->rect().center());
    QTest::mouseRelease(caption, Qt::LeftButton, {}, away);
  }
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(w.graph.YMin(), -3.0L);
  EXPECT_EQ(w.graph.YMax(), 3.0L);
}

// Whether the x axis line shows on the background layer, between two ticks.
bool xAxisDrawn(const TFuncGraph& graph) {
  return graph.BackLayer()->pixel(graph.XToPixel(2.5L), graph.YToPixel(0)) == qRgb(0, 0, 0);
}

TEST(SetGraphDialog, TheShowBoxesBringBackAHiddenAxisAndTheRangeEditsStillHideIt) {
  SettingsWindow w;
  w.graph.XAxis().Visible = false;
  w.graph.UpdateGraph();
  w.show();
  EXPECT_FALSE(w.dialog.CheckXVisible->isChecked());
  EXPECT_TRUE(w.dialog.CheckYVisible->isChecked());
  EXPECT_EQ(w.dialog.CheckXVisible->text(), QStringLiteral("表示"));
  ASSERT_FALSE(xAxisDrawn(w.graph));
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  QTest::mouseClick(w.dialog.CheckXVisible, Qt::LeftButton);
  EXPECT_TRUE(w.graph.XAxis().Visible);
  EXPECT_TRUE(xAxisDrawn(w.graph));

  // A range that puts the axis line outside the plot hides the axis, and the box shows it.
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet1);
  w.enter(w.dialog.EditYMin, QStringLiteral("1"));
  EXPECT_FALSE(w.graph.XAxis().Visible);
  EXPECT_FALSE(w.dialog.CheckXVisible->isChecked());
  // Checked while the line is outside, the axis stays hidden and the box says so.
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  QTest::mouseClick(w.dialog.CheckXVisible, Qt::LeftButton);
  EXPECT_FALSE(w.graph.XAxis().Visible);
  EXPECT_FALSE(w.dialog.CheckXVisible->isChecked());
  // Back inside, the axis stays hidden until the box brings it back.
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet1);
  w.enter(w.dialog.EditYMin, QStringLiteral("-3"));
  EXPECT_FALSE(w.graph.XAxis().Visible);
  EXPECT_FALSE(xAxisDrawn(w.graph));
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  QTest::mouseClick(w.dialog.CheckXVisible, Qt::LeftButton);
  EXPECT_TRUE(xAxisDrawn(w.graph));

  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet3);
  QTest::mouseClick(w.dialog.CheckYVisible, Qt::LeftButton);
  EXPECT_FALSE(w.graph.YAxis().Visible);
  EXPECT_TRUE(w.graph.XAxis().Visible);
}

TEST(SetGraphDialog, TheBackgroundColourButtonSetsTheBackBrushColour) {
  SettingsWindow w;
  w.graph.MarkUnchanged();
  w.show();
  EXPECT_EQ(w.dialog.LabelBackColor->text(), QStringLiteral("背景色"));
  EXPECT_EQ(w.dialog.ShapeBackColor->Color(), TFuncGraph::DefaultBackColor);
  auto answering = answerNextModal<QColorDialog>([](QColorDialog* dialog) {
    dialog->setCurrentColor(QColor(0, 128, 255));
    dialog->reject();
  });
  QTest::mouseClick(w.dialog.btnBackColor, Qt::LeftButton);
  EXPECT_EQ(w.graph.BackBrush().Color, TFuncGraph::DefaultBackColor);
  EXPECT_FALSE(w.graph.IsChanged());

  answering = answerNextModal<QColorDialog>([](QColorDialog* dialog) {
    dialog->setCurrentColor(QColor(0, 128, 255));
    dialog->accept();
  });
  QTest::mouseClick(w.dialog.btnBackColor, Qt::LeftButton);
  const TBrush brush = w.graph.BackBrush();
  EXPECT_EQ(brush.Color, 0xFF8000);
  EXPECT_EQ(brush.Style, TBrush().Style);
  EXPECT_EQ(w.dialog.ShapeBackColor->Color(), 0xFF8000);
  EXPECT_EQ(w.graph.BackLayer()->pixel(1, 1), qRgb(0, 128, 255));
  EXPECT_TRUE(w.graph.IsChanged());
}

// The narrowest room between the value texts of neighbouring x ticks, in pixels.
double leastGapBetweenXValues(TFuncGraph& graph, long double period) {
  const QFontMetrics metrics(toQFont(graph.XAxis().ValFont));
  const double step = static_cast<double>(period * graph.Mapping().xScale());
  double least = step;
  for (long double v = std::ceil(graph.XMin() / period) * period; v + period <= graph.XMax();
       v += period) {
    const int wider = std::max(metrics.horizontalAdvance(TickValueText(v)),
                               metrics.horizontalAdvance(TickValueText(v + period)));
    least = std::min(least, step - wider);
  }
  return least;
}

bool isOneTwoFive(long double period) {
  const long double mantissa = period / std::pow(10.0L, std::floor(std::log10(period)));
  return std::fabs(mantissa - 1) < 1e-12 || std::fabs(mantissa - 2) < 1e-12 ||
         std::fabs(mantissa - 5) < 1e-12;
}

TEST(SetGraphDialog, TheAutoButtonsSetATickPeriodWhoseValuesDoNotOverlap) {
  SettingsWindow w;
  w.graph.setXMin(-10);
  w.graph.setXMax(10);
  w.show();
  ASSERT_LT(leastGapBetweenXValues(w.graph, w.graph.XAxis().GuagePeriod), 4); // crowded
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet2);
  EXPECT_EQ(w.dialog.btnXAutoPeriod->text(), QStringLiteral("自動"));
  QTest::mouseClick(w.dialog.btnXAutoPeriod, Qt::LeftButton);
  const long double period = w.graph.XAxis().GuagePeriod;
  EXPECT_TRUE(isOneTwoFive(period)) << static_cast<double>(period);
  EXPECT_GE(leastGapBetweenXValues(w.graph, period), 4);
  EXPECT_EQ(w.dialog.EditXPeriod->text(), formatGeneral(period));
  EXPECT_EQ(w.graph.YAxis().GuagePeriod, 1.0L);

  w.graph.setYMax(1000);
  w.dialog.PageControl1->setCurrentWidget(w.dialog.TabSheet3);
  QTest::mouseClick(w.dialog.btnYAutoPeriod, Qt::LeftButton);
  EXPECT_TRUE(isOneTwoFive(w.graph.YAxis().GuagePeriod));
  EXPECT_GT(w.graph.YAxis().GuagePeriod, 1.0L);
  EXPECT_EQ(w.dialog.EditYPeriod->text(), formatGeneral(w.graph.YAxis().GuagePeriod));
  EXPECT_EQ(w.graph.XAxis().GuagePeriod, period);
}

TEST(SetGraphDialog, WhileShownTheDialogFollowsTheGraphsRangeButKeepsWhatIsBeingTyped) {
  SettingsWindow w;
  w.show();
  turnWheel(&w.graph, 8);
  EXPECT_LT(w.graph.XMax(), 3.0L);
  EXPECT_EQ(w.dialog.EditXMin->text(), formatGeneral(w.graph.XMin()));
  EXPECT_EQ(w.dialog.EditXMax->text(), formatGeneral(w.graph.XMax()));
  EXPECT_EQ(w.dialog.EditYMax->text(), formatGeneral(w.graph.YMax()));

  // A value typed and not yet applied stays while the graph changes; once applied, it follows.
  w.dialog.activateWindow();
  w.dialog.EditYMax->setFocus();
  w.dialog.EditYMax->selectAll();
  QTest::keyClicks(w.dialog.EditYMax, QStringLiteral("7"));
  turnWheel(&w.graph, -8);
  EXPECT_EQ(w.dialog.EditYMax->text(), QStringLiteral("7"));
  EXPECT_EQ(w.dialog.EditYMin->text(), formatGeneral(w.graph.YMin()));
  w.pressEnter(w.dialog.EditYMax);
  EXPECT_EQ(w.graph.YMax(), 7.0L);
  w.graph.setYMax(8);
  EXPECT_EQ(w.dialog.EditYMax->text(), QStringLiteral("8"));

  // Zooming far in respaces the ticks; the interval edits show the new periods.
  for (int n = 0; n < 10; ++n)
    turnWheel(&w.graph, 8);
  EXPECT_NE(w.graph.XAxis().GuagePeriod, 1.0L);
  EXPECT_EQ(w.dialog.EditXPeriod->text(), formatGeneral(w.graph.XAxis().GuagePeriod));
  EXPECT_EQ(w.dialog.EditYPeriod->text(), formatGeneral(w.graph.YAxis().GuagePeriod));

  // A range that puts the x axis outside the plot hides it, and its box shows that.
  w.graph.setYMin(1);
  EXPECT_EQ(w.dialog.EditYMin->text(), QStringLiteral("1"));
  EXPECT_FALSE(w.dialog.CheckXVisible->isChecked());
}

// Enter in one edit refreshes the others; one the user changed and has not applied keeps its
// text, and applies it on its own Enter.
TEST(SetGraphDialog, AnEditTypedIntoKeepsItsTextWhenAnotherIsApplied) {
  SettingsWindow w;
  w.show();
  w.dialog.EditXMin->setFocus();
  w.dialog.EditXMin->selectAll();
  QTest::keyClicks(w.dialog.EditXMin, QStringLiteral("5"));
  w.dialog.EditXMax->setFocus();
  EXPECT_EQ(w.enter(w.dialog.EditXMax, QStringLiteral("9")), QString());
  EXPECT_EQ(w.graph.XMax(), 9.0L);
  EXPECT_EQ(w.dialog.EditXMin->text(), QStringLiteral("5"));
  EXPECT_EQ(w.graph.XMin(), -3.0L);
  turnWheel(&w.graph, 8);
  EXPECT_EQ(w.dialog.EditXMin->text(), QStringLiteral("5"));
  EXPECT_EQ(w.dialog.EditXMax->text(), formatGeneral(w.graph.XMax()));
  EXPECT_EQ(w.pressEnter(w.dialog.EditXMin), QString());
  EXPECT_EQ(w.graph.XMin(), 5.0L);
  w.graph.setXMin(2);
  EXPECT_EQ(w.dialog.EditXMin->text(), QStringLiteral("2"));
}

// A value longer than its edit, as a zoom leaves them, shows its sign and leading digits.
TEST(SetGraphDialog, ALongNumberShowsFromItsStart) {
  SettingsWindow w;
  w.graph.setXMin(-0.898230088495575L);
  w.show();
  EXPECT_EQ(w.dialog.EditXMin->cursorPosition(), 0);
  w.graph.setXMin(-0.123456789012345L);
  EXPECT_EQ(w.dialog.EditXMin->text(), formatGeneral(-0.123456789012345L));
  EXPECT_EQ(w.dialog.EditXMin->cursorPosition(), 0);
}

} // namespace
