// The font dialog as the graph's fonts use it: the axis fonts and the label edit dialog.
#include "FontChoice.h"

#include "../ModalAnswer.h"
#include "FuncGraph.h"
#include "GraphLabel.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

std::optional<TFont> choose(const TFont& font, std::function<void(QFontDialog*)> answer) {
  const auto answering = answerNextModal<QFontDialog>(std::move(answer));
  return chooseFont(font, nullptr);
}

void acceptAsShown(QFontDialog* dialog) {
  dialog->accept();
}

// A font as a document may hold it, with a typeface the font dialog does not list.
TFont storedFont() {
  TFont font;
  font.Name = "ＭＳ ゴシック";
  font.Size = 11;
  font.Style = FontBold | FontStrikeOut;
  font.Charset = 1;
  font.Color = rgbColor(255, 0, 0);
  return font;
}

TEST(FontChoice, AFontAcceptedAsShownKeepsEveryValue) {
  EXPECT_EQ(choose(TFont{}, acceptAsShown), TFont{});
  EXPECT_EQ(choose(storedFont(), acceptAsShown), storedFont());
  TFont unusual = storedFont();
  unusual.Size = 0;
  EXPECT_EQ(choose(unusual, acceptAsShown), unusual);
  EXPECT_EQ(choose(storedFont(), [](QFontDialog* dialog) { dialog->reject(); }), std::nullopt);
}

TEST(FontChoice, OnlyWhatTheUserChangedIsTaken) {
  const auto resized = choose(storedFont(), [](QFontDialog* dialog) {
    QFont font = dialog->currentFont();
    font.setPointSize(16);
    font.setStrikeOut(false);
    dialog->setCurrentFont(font);
    dialog->accept();
  });
  TFont expected = storedFont();
  expected.Size = 16;
  expected.Style = FontBold;
  EXPECT_EQ(resized, expected);

  QString family;
  const auto renamed = choose(storedFont(), [&family](QFontDialog* dialog) {
    const QFont shown = dialog->currentFont();
    for (const QString& installed : QFontDatabase::families())
      if (installed != shown.family()) family = installed;
    dialog->setCurrentFont(QFont(family, shown.pointSize()));
    dialog->accept();
  });
  ASSERT_FALSE(family.isEmpty()) << "a second font family must be installed";
  ASSERT_TRUE(renamed);
  EXPECT_EQ(renamed->Name, family.toStdString());
  EXPECT_EQ(renamed->Size, 11);
  EXPECT_EQ(renamed->Color, storedFont().Color);
  EXPECT_EQ(renamed->Charset, storedFont().Charset);
}

TEST(FontChoice, TheLabelDialogKeepsAFontAcceptedAsShown) {
  TFuncGraph graph;
  graph.resize(336, 316);
  ASSERT_TRUE(graph.AddLabel(50, 50));
  TGraphLabel* label = graph.Label(1);
  label->setFont(storedFont());
  TGraphLabelDlg dialog;
  bool fontsOffered = false;
  const auto answering = answerNextModal<TGraphLabelDlg>([&fontsOffered](TGraphLabelDlg* d) {
    const auto fonts = answerNextModal<QFontDialog>([&fontsOffered](QFontDialog* f) {
      fontsOffered = true;
      f->accept();
    });
    d->btnFont->click();
    d->accept();
  });
  EXPECT_EQ(dialog.Execute(label), QDialog::Accepted);
  EXPECT_TRUE(fontsOffered);
  EXPECT_EQ(label->Font(), storedFont());
}

} // namespace
