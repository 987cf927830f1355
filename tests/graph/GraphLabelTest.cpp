#include "GraphLabel.h"
#include "FuncGraph.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

constexpr QRgb BackColor = 0xFFFFFFE0; // the default light yellow
constexpr QRgb Red = 0xFFFF0000;

// Hides a label dropped on it, as the main window's trash does.
class Trash : public QWidget, public TDragTarget {
public:
  using QWidget::QWidget;
  bool DragOver(QObject* source, QPoint) override {
    return qobject_cast<TGraphLabel*>(source) != nullptr;
  }
  void DragDrop(QObject* source, QPoint) override {
    static_cast<TGraphLabel*>(source)->setVisible(false);
    ++drops;
  }
  int drops = 0;
};

// A shown window holding a 336 x 316 graph at (20, 30), a trash and a plain widget that takes
// no part in dragging.
struct Window {
  QWidget window;
  TFuncGraph* graph = new TFuncGraph(&window);
  Trash* trash = new Trash(&window);
  QWidget* plain = new QWidget(&window);

  Window() {
    window.resize(500, 400);
    graph->setGeometry(20, 30, 336, 316);
    trash->setGeometry(400, 30, 40, 40);
    plain->setGeometry(400, 100, 40, 40);
    window.show();
    graph->UpdateGraph();
  }
  TGraphLabel* add(QPoint at) {
    EXPECT_TRUE(graph->AddLabel(at.x(), at.y()));
    for (int n = TFuncGraph::LabelCount; n >= 1; --n)
      if (graph->Label(n) && graph->Label(n)->pos() == at) return graph->Label(n);
    return nullptr;
  }
  // Moves the pointer, with the left button held, to a point of the given widget.
  static void dragTo(TGraphLabel* label, const QWidget* over, QPoint at) {
    QTest::mouseMove(label, label->mapFromGlobal(over->mapToGlobal(at)));
  }
  static void releaseAt(TGraphLabel* label, const QWidget* over, QPoint at) {
    QTest::mouseRelease(label, Qt::LeftButton, {}, label->mapFromGlobal(over->mapToGlobal(at)));
  }
};

QPoint pos(const TGraphLabel* label) {
  return {label->Left(), label->Top()};
}

// Calls act with the widget that find returns once it is shown. The dialogs let pending events
// run before they show, so the widget is looked for again until it is there.
template <class Widget>
void whenShown(std::function<Widget*()> find, std::function<void(Widget&)> act, int tries = 200) {
  QTimer::singleShot(10, [find, act, tries] {
    Widget* widget = find();
    if (widget && widget->isVisible())
      act(*widget);
    else if (tries > 0)
      whenShown(find, act, tries - 1);
    else
      ADD_FAILURE() << "the dialog did not show";
  });
}

// Opens the edit dialog with the right button, lets act work on it, and releases the button.
void editWithRightButton(TGraphLabel* label, std::function<void(TGraphLabelDlg&)> act) {
  whenShown<TGraphLabelDlg>(
      [] { return qobject_cast<TGraphLabelDlg*>(QApplication::activeModalWidget()); }, act);
  QTest::mousePress(label, Qt::RightButton, {}, QPoint(2, 2));
  QTest::mouseRelease(label, Qt::RightButton, {}, QPoint(2, 2));
}

// Chooses font in the font dialog opened by the dialog's font button.
void chooseFont(TGraphLabelDlg& dialog, const QFont& font) {
  whenShown<QFontDialog>([&dialog] { return dialog.findChild<QFontDialog*>(); },
                         [font](QFontDialog& fonts) {
                           fonts.setCurrentFont(font);
                           fonts.accept();
                         });
  dialog.btnFont->click();
}

// A 14-point font of an installed family that has a bold face, in bold.
QFont boldFont() {
  for (const QString& family : QFontDatabase::families())
    for (const QString& style : QFontDatabase::styles(family)) {
      const QFont font = QFontDatabase::font(family, style, 14);
      if (font.bold() && !font.italic()) return font;
    }
  ADD_FAILURE() << "no bold font installed";
  return {};
}

TEST(GraphLabelSlots, SixteenLabelsFillTheSlotsInOrderAndASeventeenthChangesNothing) {
  TFuncGraph graph;
  for (int n = 1; n <= 16; ++n)
    ASSERT_TRUE(graph.AddLabel(50, 50));
  for (int n = 1; n <= 16; ++n) {
    const TGraphLabel* label = graph.Label(n);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QString::asprintf("GraphLabel%02d", n));
    EXPECT_EQ(label->Tag(), n);
    EXPECT_EQ(pos(label), QPoint(50, 50));
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(label->parentWidget(), &graph);
  }
  EXPECT_FALSE(graph.AddLabel(70, 70));
  EXPECT_EQ(graph.findChildren<TGraphLabel*>().size(), 16);
  EXPECT_EQ(pos(graph.Label(16)), QPoint(50, 50));
  EXPECT_THROW(graph.Label(0), std::out_of_range);
  EXPECT_THROW(graph.Label(17), std::out_of_range);
}

TEST(GraphLabelSlots, AddingDestroysHiddenLabelsAndTakesTheLowestFreeSlot) {
  TFuncGraph graph;
  for (int n = 1; n <= 16; ++n)
    graph.AddLabel(10 * n, 10);
  QPointer<TGraphLabel> third = graph.Label(3);
  third->setVisible(false);
  ASSERT_TRUE(graph.AddLabel(50, 50));
  EXPECT_TRUE(third.isNull());
  EXPECT_EQ(graph.Label(3)->Caption(), QStringLiteral("GraphLabel03"));
  EXPECT_EQ(pos(graph.Label(3)), QPoint(50, 50));

  QPointer<TGraphLabel> second = graph.Label(2);
  QPointer<TGraphLabel> fifth = graph.Label(5);
  second->hide();
  fifth->hide();
  ASSERT_TRUE(graph.AddLabel(60, 60));
  EXPECT_TRUE(second.isNull());
  EXPECT_TRUE(fifth.isNull());
  EXPECT_EQ(pos(graph.Label(2)), QPoint(60, 60));
  EXPECT_EQ(graph.Label(5), nullptr);
  EXPECT_EQ(graph.findChildren<TGraphLabel*>().size(), 15);
}

TEST(GraphLabelSlots, ResetGraphDestroysEveryLabel) {
  TFuncGraph graph;
  graph.AddLabel(1, 1);
  graph.AddLabel(2, 2);
  graph.Label(2)->hide();
  QPointer<TGraphLabel> first = graph.Label(1);
  QPointer<TGraphLabel> second = graph.Label(2);
  graph.ResetGraph();
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(second.isNull());
  for (int n = 1; n <= 16; ++n)
    EXPECT_EQ(graph.Label(n), nullptr);
  EXPECT_TRUE(graph.findChildren<TGraphLabel*>().isEmpty());
}

TEST(GraphLabelLook, ANewLabelTakesTheDefaultFontAndTheGraphColour) {
  TFuncGraph graph;
  graph.setBackBrush(TBrush{rgbColor(1, 2, 3), BrushStyle::Solid});
  graph.AddLabel(5, 5);
  const TGraphLabel* label = graph.Label(1);
  EXPECT_EQ(label->Font(), TFont{});
  EXPECT_EQ(label->Color(), rgbColor(1, 2, 3));
  EXPECT_FALSE(label->autoFillBackground());
}

TEST(GraphLabelLook, TheCaptionIsPlainTextAndTheLabelFitsIt) {
  TFuncGraph graph;
  graph.AddLabel(5, 5);
  TGraphLabel* label = graph.Label(1);
  label->setCaption(QStringLiteral("<b>x</b>"));
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  const QFontMetrics metrics(label->font());
  EXPECT_EQ(label->width(), metrics.horizontalAdvance(QStringLiteral("<b>x</b>")));
  EXPECT_EQ(label->height(), metrics.height());

  TFont big;
  big.Size = 30;
  label->setFont(big);
  EXPECT_EQ(label->height(), QFontMetrics(label->font()).height());
  EXPECT_GT(label->width(), metrics.horizontalAdvance(QStringLiteral("<b>x</b>")));
}

TEST(GraphLabelDrag, OnlyTheGraphsOwnLabelsAreAccepted) {
  TFuncGraph graph;
  TFuncGraph other;
  graph.AddLabel(5, 5);
  other.AddLabel(5, 5);
  QObject notALabel;
  EXPECT_FALSE(graph.DragOver(&notALabel, QPoint(1, 1)));
  EXPECT_FALSE(graph.Label(1)->DragOver(&notALabel, QPoint(1, 1)));
  EXPECT_FALSE(graph.DragOver(other.Label(1), QPoint(100, 100)));
  EXPECT_EQ(pos(other.Label(1)), QPoint(5, 5));
}

TEST(GraphLabelDrag, AClickOrAMoveWithinTheDragDistanceLeavesTheLabelInPlace) {
  Window w;
  TGraphLabel* label = w.add(QPoint(50, 50));
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(pos(label), QPoint(50, 50));

  const int near = QApplication::startDragDistance() - 1;
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseMove(label, QPoint(3 + near, 3));
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(3 + near, 3));
  EXPECT_EQ(pos(label), QPoint(50, 50));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(GraphLabelDrag, TheGrabPointStaysUnderThePointerAlsoAcrossAnotherLabel) {
  Window w;
  TGraphLabel* dragged = w.add(QPoint(50, 50));
  TGraphLabel* other = w.add(QPoint(200, 150));
  QTest::mousePress(dragged, Qt::LeftButton, {}, QPoint(4, 3));
  EXPECT_EQ(dragged->GrabOffset(), QPoint(4, 3));
  for (const QPoint at : {QPoint(120, 90), QPoint(195, 145), other->pos() + QPoint(2, 2),
                          other->pos() + QPoint(5, 4), QPoint(260, 200)}) {
    Window::dragTo(dragged, w.graph, at);
    EXPECT_EQ(pos(dragged), at - QPoint(4, 3)) << at.x() << "," << at.y();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ClosedHandCursor);
  }
  // Dropped over the other label, it stays there.
  Window::dragTo(dragged, w.graph, other->pos() + QPoint(3, 3));
  Window::releaseAt(dragged, w.graph, other->pos() + QPoint(3, 3));
  EXPECT_EQ(pos(dragged), other->pos() + QPoint(-1, 0));
  EXPECT_EQ(pos(other), QPoint(200, 150));
  EXPECT_FALSE(dragged->isHidden());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(GraphLabelDrag, OutsideADragTargetTheLabelKeepsItsLastAcceptedPlace) {
  Window w;
  TGraphLabel* label = w.add(QPoint(50, 50));
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
  Window::dragTo(label, w.graph, QPoint(100, 100));
  Window::dragTo(label, w.plain, QPoint(10, 10));
  EXPECT_EQ(pos(label), QPoint(98, 98));
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
  Window::releaseAt(label, w.plain, QPoint(10, 10));
  EXPECT_EQ(pos(label), QPoint(98, 98));
  EXPECT_FALSE(label->isHidden());
  EXPECT_EQ(w.trash->drops, 0);
}

TEST(GraphLabelDrag, ADropOnTheTrashHidesTheLabelAndItTakesNoFurtherPart) {
  Window w;
  TGraphLabel* label = w.add(QPoint(50, 50));
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
  Window::dragTo(label, w.trash, QPoint(10, 10));
  EXPECT_EQ(w.trash->drops, 0);
  Window::releaseAt(label, w.trash, QPoint(10, 10));
  EXPECT_EQ(w.trash->drops, 1);
  EXPECT_TRUE(label->isHidden());

  // The hidden label was destroyed by the next add; a hidden trash is no drop place.
  TGraphLabel* next = w.add(QPoint(10, 10));
  ASSERT_EQ(w.graph->Label(1), next);
  w.trash->hide();
  QTest::mousePress(next, Qt::LeftButton, {}, QPoint(1, 1));
  Window::dragTo(next, w.graph, QPoint(100, 100));
  Window::dragTo(next, w.trash, QPoint(10, 10));
  Window::releaseAt(next, w.trash, QPoint(10, 10));
  EXPECT_FALSE(next->isHidden());
  EXPECT_EQ(pos(next), QPoint(99, 99));
  EXPECT_EQ(w.trash->drops, 1);
}

TEST(GraphLabelDialog, ClosingWithoutOkChangesNothingEvenAfterAFontWasChosen) {
  Window w;
  TGraphLabel* label = w.add(QPoint(50, 50));
  const QFont bold = boldFont();
  editWithRightButton(label, [bold](TGraphLabelDlg& dialog) {
    EXPECT_EQ(dialog.EditLabelCaption->text(), QStringLiteral("GraphLabel01"));
    dialog.EditLabelCaption->setText(QStringLiteral("changed"));
    chooseFont(dialog, bold);
    EXPECT_TRUE(dialog.EditLabelCaption->font().bold());
    // Taller font, taller edit and dialog; the difference between them (the margins and the
    // row of the pin box) stays, and the pin box stays below the edit.
    EXPECT_EQ(dialog.height() - dialog.EditLabelCaption->height(), 44);
    EXPECT_GT(dialog.CheckPin->y(), dialog.EditLabelCaption->geometry().bottom());
    EXPECT_GT(dialog.EditLabelCaption->height(), 20);
    dialog.close();
  });
  EXPECT_EQ(label->Caption(), QStringLiteral("GraphLabel01"));
  EXPECT_EQ(label->Font(), TFont{});
  EXPECT_EQ(pos(label), QPoint(50, 50));
}

TEST(GraphLabelDialog, OkTakesTheCaptionAndTheChosenFont) {
  Window w;
  TGraphLabel* label = w.add(QPoint(50, 50));
  TFont red;
  red.Color = rgbColor(255, 0, 0);
  label->setFont(red);
  const QFont bold = boldFont();
  editWithRightButton(label, [bold](TGraphLabelDlg& dialog) {
    dialog.EditLabelCaption->setText(QStringLiteral("<i>f(x)</i>"));
    chooseFont(dialog, bold);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
  });
  EXPECT_EQ(label->Caption(), QStringLiteral("<i>f(x)</i>"));
  EXPECT_EQ(label->Font().Size, 14);
  EXPECT_EQ(label->Font().Style, FontBold);
  EXPECT_EQ(label->Font().Color, rgbColor(255, 0, 0));
  EXPECT_EQ(label->Font().Charset, kShiftJisCharset);
  EXPECT_EQ(label->height(), QFontMetrics(label->font()).height());
}

TEST(GraphLabelDialog, OkWithoutAChosenFontKeepsTheFont) {
  Window w;
  TGraphLabel* label = w.add(QPoint(50, 50));
  TFont italic;
  italic.Style = FontItalic | FontUnderline;
  italic.Size = 11;
  label->setFont(italic);
  editWithRightButton(label, [](TGraphLabelDlg& dialog) {
    dialog.EditLabelCaption->setText(QStringLiteral("y"));
    dialog.accept();
  });
  EXPECT_EQ(label->Caption(), QStringLiteral("y"));
  EXPECT_EQ(label->Font(), italic);
  EXPECT_EQ(TGraphLabelDlg().Execute(nullptr), QDialog::Rejected);
}

// The picture's pixels in the cell of a label's text, counted by colour.
struct CellColors {
  int red = 0;
  int back = 0;
  int other = 0;
};

CellColors cellColors(const QImage& picture, const TGraphLabel* label) {
  CellColors colors;
  for (int y = label->Top(); y < label->Top() + label->height(); ++y)
    for (int x = label->Left(); x < label->Left() + label->width(); ++x) {
      const QRgb pixel = picture.pixel(x, y);
      (pixel == Red ? colors.red : pixel == BackColor ? colors.back : colors.other)++;
    }
  return colors;
}

TEST(GraphLabelClipboard, VisibleLabelsAreDrawnOnTheBackBrushAndHiddenOnesLeftOut) {
  TFuncGraph graph;
  graph.resize(336, 316);
  graph.UpdateGraph();
  TFont red;
  red.Color = rgbColor(255, 0, 0);
  red.Size = 12;
  graph.AddLabel(100, 145); // over the X axis at row 153
  graph.AddLabel(40, 40);
  for (int n = 1; n <= 2; ++n) {
    graph.Label(n)->setFont(red);
    graph.Label(n)->setCaption(QStringLiteral("WWW"));
  }
  graph.Label(2)->hide();

  const QImage plain = graph.Picture();
  const QImage copied = graph.ClipboardPicture();
  ASSERT_EQ(plain.pixel(110, 153), 0xFF000000);
  const CellColors shown = cellColors(copied, graph.Label(1));
  EXPECT_GT(shown.red, 20);
  EXPECT_GT(shown.back, shown.red);
  EXPECT_EQ(shown.other, 0); // the axis under the text cell is covered
  const CellColors hidden = cellColors(copied, graph.Label(2));
  EXPECT_EQ(hidden.red, 0);
  EXPECT_EQ(copied.copy(graph.Label(2)->geometry()), plain.copy(graph.Label(2)->geometry()));
}

} // namespace
