#include "QtObjects.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct SystemColorRole {
  int index;
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The desktop's system colour indexes and the palette colours that play their part. The
// "window" colour is the background of text areas, which Qt calls Base; Qt's Window is the grey
// of dialogs, the "button face" here.
constexpr std::array<SystemColorRole, 30> kSystemColorRoles{{
    {0, QPalette::Active, QPalette::Button},           // scroll bar
    {1, QPalette::Active, QPalette::Window},           // desktop
    {2, QPalette::Active, QPalette::Highlight},        // active caption
    {3, QPalette::Active, QPalette::Mid},              // inactive caption
    {4, QPalette::Active, QPalette::Window},           // menu
    {5, QPalette::Active, QPalette::Base},             // window
    {6, QPalette::Active, QPalette::Shadow},           // window frame
    {7, QPalette::Active, QPalette::WindowText},       // menu text
    {8, QPalette::Active, QPalette::WindowText},       // window text
    {9, QPalette::Active, QPalette::HighlightedText},  // caption text
    {10, QPalette::Active, QPalette::Button},          // active border
    {11, QPalette::Active, QPalette::Button},          // inactive border
    {12, QPalette::Active, QPalette::Mid},             // application workspace
    {13, QPalette::Active, QPalette::Highlight},       // highlight
    {14, QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {15, QPalette::Active, QPalette::Button},          // button face
    {16, QPalette::Active, QPalette::Dark},            // button shadow
    {17, QPalette::Disabled, QPalette::Text},          // grey (disabled) text
    {18, QPalette::Active, QPalette::ButtonText},      // button text
    {19, QPalette::Disabled, QPalette::WindowText},    // inactive caption text
    {20, QPalette::Active, QPalette::Light},           // button highlight
    {21, QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {22, QPalette::Active, QPalette::Midlight},        // 3D light
    {23, QPalette::Active, QPalette::ToolTipText},     // tooltip text
    {24, QPalette::Active, QPalette::ToolTipBase},     // tooltip background
    {26, QPalette::Active, QPalette::Link},            // hot-tracked item
    {27, QPalette::Active, QPalette::Highlight},       // active caption gradient
    {28, QPalette::Active, QPalette::Mid},             // inactive caption gradient
    {29, QPalette::Active, QPalette::Highlight},       // menu highlight
    {30, QPalette::Active, QPalette::Window},          // menu bar
}};

QColor systemQColor(int index) {
  const auto entry = std::find_if(kSystemColorRoles.begin(), kSystemColorRoles.end(),
                                  [index](const SystemColorRole& e) { return e.index == index; });
  if (entry == kSystemColorRoles.end()) return QColor(Qt::black);
  return QGuiApplication::palette().color(entry->group, entry->role);
}

Qt::PenStyle qtPenStyle(PenStyle style) {
  switch (style) {
  case PenStyle::Dash:
    return Qt::DashLine;
  case PenStyle::Dot:
    return Qt::DotLine;
  case PenStyle::DashDot:
    return Qt::DashDotLine;
  case PenStyle::DashDotDot:
    return Qt::DashDotDotLine;
  case PenStyle::Clear:
    return Qt::NoPen;
  case PenStyle::Solid:
  case PenStyle::InsideFrame:
    break;
  }
  return Qt::SolidLine;
}

Qt::BrushStyle qtBrushStyle(BrushStyle style) {
  switch (style) {
  case BrushStyle::Clear:
    return Qt::NoBrush;
  case BrushStyle::Horizontal:
    return Qt::HorPattern;
  case BrushStyle::Vertical:
    return Qt::VerPattern;
  case BrushStyle::ForwardDiagonal:
    return Qt::FDiagPattern;
  case BrushStyle::BackwardDiagonal:
    return Qt::BDiagPattern;
  case BrushStyle::Cross:
    return Qt::CrossPattern;
  case BrushStyle::DiagonalCross:
    return Qt::DiagCrossPattern;
  case BrushStyle::Solid:
    break;
  }
  return Qt::SolidPattern;
}

} // namespace

QColor toQColor(GraphColor color) {
  const auto bits = static_cast<std::uint32_t>(color);
  if (color < 0) return systemQColor(static_cast<int>(bits & 0xFF));
  return QColor(static_cast<int>(bits & 0xFF), static_cast<int>(bits >> 8 & 0xFF),
                static_cast<int>(bits >> 16 & 0xFF));
}

GraphColor fromQColor(const QColor& color) {
  return rgbColor(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                  static_cast<std::uint8_t>(color.blue()));
}

QPen toQPen(const TPen& pen) {
  return QPen(QBrush(toQColor(pen.Color)), std::max(1, pen.Width), qtPenStyle(pen.Style));
}

QBrush toQBrush(const TBrush& brush) {
  return QBrush(toQColor(brush.Color), qtBrushStyle(brush.Style));
}

TFont fromQFont(const QFont& chosen, TFont base) {
  base.Name = chosen.family().toStdString();
  if (chosen.pointSizeF() > 0)
    base.Size = static_cast<std::int32_t>(std::lround(chosen.pointSizeF()));
  else if (chosen.pixelSize() > 0)
    base.Size = static_cast<std::int32_t>(std::lround(chosen.pixelSize() * 72.0 / 96.0));
  base.Style = static_cast<std::uint8_t>(
      (chosen.bold() ? FontBold : 0) | (chosen.italic() ? FontItalic : 0) |
      (chosen.underline() ? FontUnderline : 0) | (chosen.strikeOut() ? FontStrikeOut : 0));
  return base;
}

QFont toQFont(const TFont& font) {
  QFont qfont(QString::fromStdString(font.Name));
  qfont.setPointSize(std::max(1, font.Size));
  qfont.setBold((font.Style & FontBold) != 0);
  qfont.setItalic((font.Style & FontItalic) != 0);
  qfont.setUnderline((font.Style & FontUnderline) != 0);
  qfont.setStrikeOut((font.Style & FontStrikeOut) != 0);
  return qfont;
}
