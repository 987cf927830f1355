#include "KeyGroups.h"

#include "ByteEscapes.h"
#include "FuncFormula.h"
#include "GraphAxis.h"
#include "IniFile.h"
#include "NumberFormat.h"
#include "Utf8Codec.h"

namespace {

bool holdsKey(const IniFile& ini, QStringView section, QStringView key) {
  return ini.ReadSection(section).contains(key.toString(), Qt::CaseInsensitive);
}

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
    const std::array<char, 3> form = escapeAsUtf8Bytes(name[i]);
    bytes.append(form.data(), form.size());
    start = i + 1;
  }
  return bytes + QStringView(name).mid(start).toUtf8().toStdString();
}

QString fontNameText(const std::string& name) {
  QString text;
  std::size_t start = 0;
  for (std::size_t i = 0; i + 2 < name.size(); ++i) {
    const std::optional<QChar> escape = escapeOfUtf8Bytes(name, qsizetype(i));
    if (!escape) continue;
    text += fromUtf8KeepingBytes(QByteArray(name.data() + start, qsizetype(i - start)));
    text += *escape;
    start = i + 3;
    i += 2;
  }
  return text +
         fromUtf8KeepingBytes(QByteArray(name.data() + start, qsizetype(name.size() - start)));
}

} // namespace

QString NumberedName(const char* stem, int number) {
  return QLatin1String(stem) + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

void WriteFont(IniFile& ini, QStringView section, QStringView prefix, const TFont& font) {
  ini.WriteInteger(section, KeyName(prefix, u"FontCharset"), font.Charset);
  ini.WriteInteger(section, KeyName(prefix, u"FontColor"), font.Color);
  ini.WriteString(section, KeyName(prefix, u"FontName"), fontNameText(font.Name));
  ini.WriteInteger(section, KeyName(prefix, u"FontSize"), font.Size);
  ini.WriteInteger(section, KeyName(prefix, u"FontStyle"), font.Style);
}

void ReadFont(const IniFile& ini, QStringView section, QStringView prefix, TFont& font) {
  // A character set is one byte; a stored number beyond it keeps its low byte.
  font.Charset = static_cast<std::uint8_t>(
      ini.ReadInteger(section, KeyName(prefix, u"FontCharset"), font.Charset));
  font.Color = ini.ReadInteger(section, KeyName(prefix, u"FontColor"), font.Color);
  font.Name =
      fontNameBytes(ini.ReadString(section, KeyName(prefix, u"FontName"), fontNameText(font.Name)));
  font.Size = ini.ReadInteger(section, KeyName(prefix, u"FontSize"), font.Size);
  font.Style =
      fontStyleFromStored(ini.ReadInteger(section, KeyName(prefix, u"FontStyle"), font.Style));
}

void WritePen(IniFile& ini, QStringView section, QStringView prefix, const TPen& pen) {
  ini.WriteInteger(section, KeyName(prefix, u"PenColor"), pen.Color);
  ini.WriteInteger(section, KeyName(prefix, u"PenStyle"), static_cast<int>(pen.Style));
  ini.WriteInteger(section, KeyName(prefix, u"PenWidth"), pen.Width);
}

void ReadPen(const IniFile& ini, QStringView section, QStringView prefix, TPen& pen) {
  pen.Color = ini.ReadInteger(section, KeyName(prefix, u"PenColor"), pen.Color);
  pen.Style = penStyleFromStored(
      ini.ReadInteger(section, KeyName(prefix, u"PenStyle"), static_cast<int>(pen.Style)));
  pen.Width = ini.ReadInteger(section, KeyName(prefix, u"PenWidth"), pen.Width);
}

void WriteBrush(IniFile& ini, QStringView section, QStringView prefix, const TBrush& brush) {
  ini.WriteInteger(section, KeyName(prefix, u"BrushColor"), brush.Color);
  ini.WriteInteger(section, KeyName(prefix, u"BrushStyle"), static_cast<int>(brush.Style));
}

void ReadBrush(const IniFile& ini, QStringView section, QStringView prefix, TBrush& brush) {
  brush.Color = ini.ReadInteger(section, KeyName(prefix, u"BrushColor"), brush.Color);
  brush.Style = static_cast<BrushStyle>(
      ini.ReadInteger(section, KeyName(prefix, u"BrushStyle"), static_cast<int>(brush.Style)));
}

void WriteReal(IniFile& ini, QStringView section, QStringView key, long double value) {
  ini.WriteString(section, key, formatGeneral(value, 15, QStringLiteral(".")));
}

long double ReadReal(const IniFile& ini, QStringView section, QStringView key) {
  return textToFloat(ini.ReadString(section, key, QStringLiteral("0.0"))).value_or(0.0L);
}

void WriteExactReal(IniFile& ini, QStringView section, QStringView key, double value) {
  QString text = formatGeneral(value, 15, QStringLiteral("."));
  if (static_cast<double>(textToFloat(text).value_or(0.0L)) != value)
    text = formatGeneral(value, 17, QStringLiteral("."));
  ini.WriteString(section, key, text);
}

void WriteUnlessDefault(IniFile& ini, QStringView section, QStringView key, bool value,
                        bool defaultValue) {
  if (value != defaultValue || holdsKey(ini, section, key))
    ini.WriteBool(section, key, value);
}

void SaveToIni(IniFile& ini, QStringView section, QStringView prefix, const TAxis& axis) {
  ini.WriteBool(section, KeyName(prefix, u"Visible"), axis.Visible);
  ini.WriteString(section, KeyName(prefix, u"Caption"), axis.Caption);
  ini.WriteInteger(section, KeyName(prefix, u"GuageType"), axis.GauageType);
  WriteReal(ini, section, KeyName(prefix, u"GuagePeriod"), axis.GuagePeriod);
  ini.WriteInteger(section, KeyName(prefix, u"ValPos"), axis.ValPos);
  ini.WriteInteger(section, KeyName(prefix, u"ValXDist"), axis.ValXDist);
  ini.WriteInteger(section, KeyName(prefix, u"ValYDist"), axis.ValYDist);
  WriteFont(ini, section, prefix, axis.ValFont);
  WriteUnlessDefault(ini, section, KeyName(prefix, u"Grid"), axis.Grid, false);
  WriteUnlessDefault(ini, section, KeyName(prefix, u"PiTicks"), axis.PiTicks, false);
}

namespace {

// The enumerations are stored as read when they fit their one-byte storage; a number beyond
// that cannot be held and keeps the current value. Drawing treats unknown kinds as no ticks
// and unknown positions like the lower right.
template <class Enum>
void readEnum(const IniFile& ini, QStringView section, QStringView key, Enum& value) {
  const int stored = ini.ReadInteger(section, key, value);
  if (stored >= 0 && stored <= 255) value = static_cast<Enum>(stored);
}

} // namespace

void LoadFromIni(const IniFile& ini, QStringView section, QStringView prefix, TAxis& axis) {
  axis.Visible = ini.ReadBool(section, KeyName(prefix, u"Visible"), true);
  axis.Caption = ini.ReadString(section, KeyName(prefix, u"Caption"), QString());
  readEnum(ini, section, KeyName(prefix, u"GuageType"), axis.GauageType);
  axis.GuagePeriod = ReadReal(ini, section, KeyName(prefix, u"GuagePeriod"));
  readEnum(ini, section, KeyName(prefix, u"ValPos"), axis.ValPos);
  axis.ValXDist = ini.ReadInteger(section, KeyName(prefix, u"ValXDist"), axis.ValXDist);
  axis.ValYDist = ini.ReadInteger(section, KeyName(prefix, u"ValYDist"), axis.ValYDist);
  ReadFont(ini, section, prefix, axis.ValFont);
  axis.Grid = ini.ReadBool(section, KeyName(prefix, u"Grid"), false);
  axis.PiTicks = ini.ReadBool(section, KeyName(prefix, u"PiTicks"), false);
}

namespace {

// A y = f(x) slot writes only the keys every document has; the keys of the other kinds are
// written for the slots that use them, and where the file holds them already, so that a slot
// turned back into y = f(x) reaches the file.
void writeKindKeys(IniFile& ini, QStringView section, QStringView prefix, const TFormula& slot) {
  const bool other = slot.Kind != CurveKind::Function;
  const KeyName kind(prefix, u"Kind");
  if (other || holdsKey(ini, section, kind))
    ini.WriteInteger(section, kind, static_cast<std::int32_t>(slot.Kind));
  const KeyName formulaY(prefix, u"FormulaY");
  if (slot.Kind == CurveKind::Parametric || holdsKey(ini, section, formulaY))
    ini.WriteString(section, formulaY, slot.FormulaY);
  const bool overT = runsOverT(slot.Kind);
  const KeyName tMin(prefix, u"TMin");
  if ((overT && slot.TMin != TFormula::DefaultTMin) || holdsKey(ini, section, tMin))
    WriteReal(ini, section, tMin, slot.TMin);
  const KeyName tMax(prefix, u"TMax");
  if ((overT && slot.TMax != TFormula::DefaultTMax) || holdsKey(ini, section, tMax))
    WriteReal(ini, section, tMax, slot.TMax);
}

long double readReal(const IniFile& ini, QStringView section, QStringView key,
                     long double missing) {
  return holdsKey(ini, section, key) ? ReadReal(ini, section, key) : missing;
}

} // namespace

void SaveToIni(IniFile& ini, QStringView section, QStringView prefix, const TFormula& slot) {
  ini.WriteString(section, KeyName(prefix, u"Formula"), slot.Formula);
  WritePen(ini, section, KeyName(prefix, u"Pen"), slot.Pen);
  writeKindKeys(ini, section, prefix, slot);
}

// An older document knows only y = f(x) slots: every kind key has its default there.
void LoadFromIni(const IniFile& ini, QStringView section, QStringView prefix, TFormula& slot) {
  slot.Formula = ini.ReadString(section, KeyName(prefix, u"Formula"), QString());
  ReadPen(ini, section, KeyName(prefix, u"Pen"), slot.Pen);
  slot.Kind = curveKindFromStored(ini.ReadInteger(section, KeyName(prefix, u"Kind"), 0));
  slot.FormulaY = ini.ReadString(section, KeyName(prefix, u"FormulaY"), QString());
  slot.TMin = readReal(ini, section, KeyName(prefix, u"TMin"), TFormula::DefaultTMin);
  slot.TMax = readReal(ini, section, KeyName(prefix, u"TMax"), TFormula::DefaultTMax);
}
