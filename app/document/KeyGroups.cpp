#include "KeyGroups.h"

#include "ByteEscapes.h"
#include "FuncFormula.h"
#include "GraphAxis.h"
#include "IniFile.h"
#include "NumberFormat.h"
#include "Utf8Codec.h"

namespace {

// The model holds a font name as UTF-8. A byte that the file's encoding could not decode is an
// escape character (a lone surrogate), which UTF-8 proper has no form for: it is held in the
// three-byte form a surrogate would take, which no valid UTF-8 holds, so that the name is
// written back as it was read.
std::string fontNameBytes(const QString& name) {
  std::string bytes;
  qsizetype start = 0;
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (!escapedByte(name, i)) continue;
    bytes += QStringView(name).mid(start, i - start).toUtf8().toStdString();
    const char16_t unit = name[i].unicode();
    bytes += {'\xED', static_cast<char>(0x80 | ((unit >> 6) & 0x3F)),
              static_cast<char>(0x80 | (unit & 0x3F))};
    start = i + 1;
  }
  return bytes + QStringView(name).mid(start).toUtf8().toStdString();
}

QString fontNameText(const std::string& name) {
  QString text;
  std::size_t start = 0;
  for (std::size_t i = 0; i + 2 < name.size(); ++i) {
    const auto second = static_cast<unsigned char>(name[i + 1]);
    if (name[i] != '\xED' || (second != 0xB2 && second != 0xB3)) continue;
    text += fromUtf8KeepingBytes(QByteArray(name.data() + start, qsizetype(i - start)));
    const auto low = static_cast<unsigned char>(name[i + 2]) & 0x3F;
    text += QChar(static_cast<char16_t>(0xD000 | ((second & 0x3F) << 6) | low));
    start = i + 3;
    i += 2;
  }
  return text +
         fromUtf8KeepingBytes(QByteArray(name.data() + start, qsizetype(name.size() - start)));
}

} // namespace

void WriteFont(IniFile& ini, const QString& section, const QString& prefix, const TFont& font) {
  ini.WriteInteger(section, prefix + "FontCharset", font.Charset);
  ini.WriteInteger(section, prefix + "FontColor", font.Color);
  ini.WriteString(section, prefix + "FontName", fontNameText(font.Name));
  ini.WriteInteger(section, prefix + "FontSize", font.Size);
  ini.WriteInteger(section, prefix + "FontStyle", font.Style);
}

void ReadFont(const IniFile& ini, const QString& section, const QString& prefix, TFont& font) {
  // A character set is one byte; a stored number beyond it keeps its low byte.
  font.Charset =
      static_cast<std::uint8_t>(ini.ReadInteger(section, prefix + "FontCharset", font.Charset));
  font.Color = ini.ReadInteger(section, prefix + "FontColor", font.Color);
  font.Name = fontNameBytes(ini.ReadString(section, prefix + "FontName", fontNameText(font.Name)));
  font.Size = ini.ReadInteger(section, prefix + "FontSize", font.Size);
  font.Style = fontStyleFromStored(ini.ReadInteger(section, prefix + "FontStyle", font.Style));
}

void WritePen(IniFile& ini, const QString& section, const QString& prefix, const TPen& pen) {
  ini.WriteInteger(section, prefix + "PenColor", pen.Color);
  ini.WriteInteger(section, prefix + "PenStyle", static_cast<int>(pen.Style));
  ini.WriteInteger(section, prefix + "PenWidth", pen.Width);
}

void ReadPen(const IniFile& ini, const QString& section, const QString& prefix, TPen& pen) {
  pen.Color = ini.ReadInteger(section, prefix + "PenColor", pen.Color);
  pen.Style = penStyleFromStored(
      ini.ReadInteger(section, prefix + "PenStyle", static_cast<int>(pen.Style)));
  pen.Width = ini.ReadInteger(section, prefix + "PenWidth", pen.Width);
}

void WriteBrush(IniFile& ini, const QString& section, const QString& prefix, const TBrush& brush) {
  ini.WriteInteger(section, prefix + "BrushColor", brush.Color);
  ini.WriteInteger(section, prefix + "BrushStyle", static_cast<int>(brush.Style));
}

void ReadBrush(const IniFile& ini, const QString& section, const QString& prefix, TBrush& brush) {
  brush.Color = ini.ReadInteger(section, prefix + "BrushColor", brush.Color);
  brush.Style = static_cast<BrushStyle>(
      ini.ReadInteger(section, prefix + "BrushStyle", static_cast<int>(brush.Style)));
}

void WriteReal(IniFile& ini, const QString& section, const QString& key, long double value) {
  ini.WriteString(section, key, formatGeneral(value, 15, QStringLiteral(".")));
}

long double ReadReal(const IniFile& ini, const QString& section, const QString& key) {
  return textToFloat(ini.ReadString(section, key, QStringLiteral("0.0"))).value_or(0.0L);
}

void TAxis::SaveToIni(IniFile& ini, const QString& section, const QString& prefix) const {
  ini.WriteBool(section, prefix + "Visible", Visible);
  ini.WriteString(section, prefix + "Caption", Caption);
  ini.WriteInteger(section, prefix + "GuageType", GauageType);
  WriteReal(ini, section, prefix + "GuagePeriod", GuagePeriod);
  ini.WriteInteger(section, prefix + "ValPos", ValPos);
  ini.WriteInteger(section, prefix + "ValXDist", ValXDist);
  ini.WriteInteger(section, prefix + "ValYDist", ValYDist);
  WriteFont(ini, section, prefix, ValFont);
}

namespace {

// The enumerations are stored as read when they fit their one-byte storage; a number beyond
// that cannot be held and keeps the current value. Drawing treats unknown kinds as no ticks
// and unknown positions like the lower right.
template <class Enum>
void readEnum(const IniFile& ini, const QString& section, const QString& key, Enum& value) {
  const int stored = ini.ReadInteger(section, key, value);
  if (stored >= 0 && stored <= 255) value = static_cast<Enum>(stored);
}

} // namespace

void TAxis::LoadFromIni(const IniFile& ini, const QString& section, const QString& prefix) {
  Visible = ini.ReadBool(section, prefix + "Visible", true);
  Caption = ini.ReadString(section, prefix + "Caption", QString());
  readEnum(ini, section, prefix + "GuageType", GauageType);
  GuagePeriod = ReadReal(ini, section, prefix + "GuagePeriod");
  readEnum(ini, section, prefix + "ValPos", ValPos);
  ValXDist = ini.ReadInteger(section, prefix + "ValXDist", ValXDist);
  ValYDist = ini.ReadInteger(section, prefix + "ValYDist", ValYDist);
  ReadFont(ini, section, prefix, ValFont);
}

void TFormula::SaveToIni(IniFile& ini, const QString& section, const QString& prefix) const {
  ini.WriteString(section, prefix + "Formula", Formula);
  WritePen(ini, section, prefix + "Pen", Pen);
}

void TFormula::LoadFromIni(const IniFile& ini, const QString& section, const QString& prefix) {
  Formula = ini.ReadString(section, prefix + "Formula", QString());
  ReadPen(ini, section, prefix + "Pen", Pen);
}
