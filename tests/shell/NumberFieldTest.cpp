// The number fields of the windows: what they take, how they refuse, and what a refresh leaves.
#include "NumberField.h"

#include "KurvoError.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// A window with the field under test and another field that has the focus at first.
struct Fields {
  QWidget window;
  QLineEdit* field = new QLineEdit(&window);
  QLineEdit* other = new QLineEdit(&window);

  Fields() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    layout->addWidget(other);
    window.show();
    QApplication::processEvents();
    other->setFocus();
  }
  // The message the reader refused the text with, or nothing when it took it.
  std::optional<QString> refusal(const QString& text,
                                 const std::function<void(QLineEdit*)>& read) {
    field->setText(text);
    try {
      read(field);
    } catch (const KurvoError& error) {
      return error.message();
    }
    return std::nullopt;
  }
};

// Qt's default locale, which the fields follow, for the life of this object.
struct DefaultLocale {
  const QLocale saved;
  explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
  ~DefaultLocale() { QLocale::setDefault(saved); }
};

const QString NotANumber = QStringLiteral("'%1' は浮動小数点数ではありません");

TEST(NumberField, ReadersTakeNumbersAndRefuseEverythingElseWithTheMessage) {
  const DefaultLocale point(QLocale::c());
  const std::function<void(QLineEdit*)> number = [](QLineEdit* f) { fieldNumber(f); };
  const std::function<void(QLineEdit*)> real = [](QLineEdit* f) { fieldDouble(f); };
  const std::function<void(QLineEdit*)> count = [](QLineEdit* f) { fieldInteger(f, 1, 10000); };
  const QString notACount = QStringLiteral("'%1' は 1 から 10000 までの整数ではありません");
  struct Case {
    const char* text;
    const std::function<void(QLineEdit*)>& read;
    std::optional<QString> refusal;
  };
  const Case cases[] = {
      {" -2.5e1 ", number, std::nullopt},
      {"abc", number, NotANumber},
      {"", number, NotANumber},
      {"1,5", number, NotANumber},
      {"1e400", number, std::nullopt}, // a long double
      {"1e400", real, NotANumber},     // beyond double
      {"-1e308", real, std::nullopt},
      {"nan", real, NotANumber},
      {"inf", real, NotANumber},
      {" 7 ", count, std::nullopt},
      {"10000", count, std::nullopt},
      {"0", count, notACount},
      {"10001", count, notACount},
      {"1.5", count, notACount},
      {"", count, notACount},
  };
  for (const Case& c : cases) {
    Fields f;
    const QString text = QString::fromUtf8(c.text);
    const std::optional<QString> refused = f.refusal(text, c.read);
    ASSERT_EQ(refused.has_value(), c.refusal.has_value()) << c.text;
    if (!refused) {
      EXPECT_EQ(f.window.focusWidget(), f.other) << c.text;
      continue;
    }
    EXPECT_EQ(*refused, c.refusal->arg(text)) << c.text;
    // The focus is back on the field, its text selected for typing over.
    EXPECT_EQ(f.window.focusWidget(), f.field) << c.text;
    EXPECT_EQ(f.field->selectedText(), text) << c.text;
  }
}

TEST(NumberField, ARefreshLeavesWhatTheUserTypedAndASpellingOfTheValue) {
  Fields f;
  f.field->setText(QStringLiteral("1e2"));
  refreshFieldNumber(f.field, 100.0L);
  EXPECT_EQ(f.field->text(), QStringLiteral("1e2"));
  // A double is compared as a double: "1e-1" reads as the double 0.1, though the double 0.1
  // taken as a long double is another number than "1e-1" reads as.
  f.field->setText(QStringLiteral("1e-1"));
  refreshFieldNumber(f.field, 0.1);
  EXPECT_EQ(f.field->text(), QStringLiteral("1e-1"));
  refreshFieldNumber(f.field, static_cast<long double>(0.1));
  EXPECT_EQ(f.field->text(), QStringLiteral("0.1"));

  // Typed and not applied: kept, though the focus is elsewhere, until the field is shown anew.
  f.field->selectAll();
  QTest::keyClicks(f.field, QStringLiteral("5"));
  refreshFieldNumber(f.field, -3.0L);
  EXPECT_EQ(f.field->text(), QStringLiteral("5"));
  showFieldNumber(f.field, -0.5L);
  refreshFieldNumber(f.field, -3.0L);
  EXPECT_EQ(f.field->text(), QStringLiteral("-3"));
}

} // namespace
