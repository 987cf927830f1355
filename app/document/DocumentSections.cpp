// Reading and writing a whole graph document: the sections in their fixed order, the five
// formula groups, the sixteen label groups, the options and the parameters.
#include "GraphDocument.h"

#include "GraphModel.h"

#include "IniFile.h"
#include "KeyGroups.h"
#include "KurvoError.h"
#include "ParameterNames.h"
#include "ParameterSections.h"
#include "CalculusSections.h"
#include "DataSections.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

const QString XAxisSection = QStringLiteral("XAxis");
const QString YAxisSection = QStringLiteral("YAxis");
const QString RangeSection = QStringLiteral("GraphRange");
const QString MarginSection = QStringLiteral("Margin");
const QString GraphSection = QStringLiteral("Graph");
const QString FunctionSection = QStringLiteral("Function");
const QString LabelSection = QStringLiteral("GraphLabel");
const QString OptionsSection = QStringLiteral("Options");
const QString AutoRedrawKey = QStringLiteral("AutoRedraw");
const QString LegendKey = QStringLiteral("Legend");
const QString LegendCornerKey = QStringLiteral("LegendCorner");

// A file that holds none of these is not a graph document.
const QString DocumentSections[] = {XAxisSection, YAxisSection,    RangeSection, MarginSection,
                                    GraphSection, FunctionSection, LabelSection};

bool holdsDocument(const IniFile& ini) {
  return std::any_of(std::begin(DocumentSections), std::end(DocumentSections),
                     [&ini](const QString& section) { return ini.SectionExists(section); });
}

// The key prefixes of the slots: stem01, stem02, ...
std::vector<QString> slotPrefixes(const char* stem, int count) {
  std::vector<QString> names;
  for (int n = 1; n <= count; ++n)
    names.push_back(NumberedName(stem, n));
  return names;
}

// Made once: every save and load uses all of them.
const QString& funcPrefix(int slot) {
  static const std::vector<QString> names = slotPrefixes("Func", GraphModel::FormulaCount);
  return names.at(std::size_t(slot - 1));
}

const QString& labelPrefix(int slot) {
  static const std::vector<QString> names = slotPrefixes("Label", GraphModel::LabelCount);
  return names.at(std::size_t(slot - 1));
}

void writeLabel(IniFile& ini, const QString& prefix, const GraphLabels::Slot& label) {
  if (!label) {
    // Only the caption marks the slot as empty; the slot's other keys stay as they were.
    ini.WriteString(LabelSection, KeyName(prefix, u"Caption"), QString());
    return;
  }
  ini.WriteString(LabelSection, KeyName(prefix, u"Caption"), label->caption);
  ini.WriteInteger(LabelSection, KeyName(prefix, u"Color"), label->color);
  ini.WriteInteger(LabelSection, KeyName(prefix, u"Left"), label->left);
  ini.WriteInteger(LabelSection, KeyName(prefix, u"Top"), label->top);
  ini.WriteInteger(LabelSection, KeyName(prefix, u"Tag"), label->tag);
  WriteFont(ini, LabelSection, prefix, label->font);
  WriteUnlessDefault(ini, LabelSection, KeyName(prefix, u"Pinned"), label->pin.has_value(), false);
  if (!label->pin) return;
  WriteReal(ini, LabelSection, KeyName(prefix, u"PinX"), label->pin->x);
  WriteReal(ini, LabelSection, KeyName(prefix, u"PinY"), label->pin->y);
}

// A pin needs a finite point; one that cannot be read leaves the label on its pixels.
std::optional<LabelPin> readPin(const IniFile& ini, const QString& prefix) {
  if (!ini.ReadBool(LabelSection, KeyName(prefix, u"Pinned"), false)) return std::nullopt;
  const LabelPin pin{ReadReal(ini, LabelSection, KeyName(prefix, u"PinX")),
                     ReadReal(ini, LabelSection, KeyName(prefix, u"PinY"))};
  if (!std::isfinite(pin.x) || !std::isfinite(pin.y)) return std::nullopt;
  return pin;
}

// A caption of nothing but blanks and line breaks shows nothing, and is written as an empty one
// (line breaks as blanks, which are trimmed): it marks the slot as empty, as an empty one does.
bool isEmptyCaption(QStringView caption) {
  return std::all_of(caption.begin(), caption.end(), [](QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
  });
}

// False when the group holds no label (an empty caption); the record then keeps what it held.
// Left and Top carry over from one label group to the next as the defaults of missing keys.
bool readLabel(const IniFile& ini, const QString& prefix, GraphLabelRecord& record) {
  const QString caption = ini.ReadString(LabelSection, KeyName(prefix, u"Caption"), QString());
  if (isEmptyCaption(caption)) return false;
  record.caption = caption;
  record.color = ini.ReadInteger(LabelSection, KeyName(prefix, u"Color"), record.color);
  record.left = ini.ReadInteger(LabelSection, KeyName(prefix, u"Left"), record.left);
  record.top = ini.ReadInteger(LabelSection, KeyName(prefix, u"Top"), record.top);
  record.tag = ini.ReadInteger(LabelSection, KeyName(prefix, u"Tag"), 0);
  record.font = TFont();
  ReadFont(ini, LabelSection, prefix, record.font);
  record.pin = readPin(ini, prefix);
  return true;
}

void readLabels(const IniFile& ini, GraphModel& model) {
  GraphLabelRecord scratch;
  for (int n = 1; n <= GraphModel::LabelCount; ++n) {
    GraphLabels::Slot& label = model.labels.slot(n);
    label.reset();
    if (!readLabel(ini, labelPrefix(n), scratch) || scratch.tag != n) continue;
    label = scratch;
    label->color = model.backBrush.Color;
  }
}

// Written only when it differs from the default, so that a graph that never changes it keeps
// its document as it was. A file that says otherwise is told the graph's value, so that the
// file's value does not come back when it is opened again.
void writeAutoRedraw(IniFile& ini, const GraphModel& model) {
  WriteUnlessDefault(ini, OptionsSection, AutoRedrawKey, model.autoRedraw,
                     model.autoRedrawByDefault);
}

// Written only for a graph that shows its legend, with its corner. A file that names a legend
// while the graph shows none is told it is off; its corner key may stay, as a deleted label's
// keys do, since a legend that is off reads no corner.
void writeLegend(IniFile& ini, const GraphLegend& legend) {
  if (legend.visible) {
    ini.WriteBool(OptionsSection, LegendKey, true);
    ini.WriteInteger(OptionsSection, LegendCornerKey, static_cast<std::int32_t>(legend.corner));
  } else if (ini.ReadSection(OptionsSection).contains(LegendKey, Qt::CaseInsensitive)) {
    ini.WriteBool(OptionsSection, LegendKey, false);
  }
}

// A document without the key shows no legend, whatever the graph showed before, and a legend
// that is off starts at the default corner when it is turned on.
GraphLegend readLegend(const IniFile& ini) {
  GraphLegend legend;
  legend.visible = ini.ReadBool(OptionsSection, LegendKey, false);
  if (legend.visible)
    legend.corner = legendCornerFromStored(ini.ReadInteger(
        OptionsSection, LegendCornerKey, static_cast<std::int32_t>(GraphLegend::DefaultCorner)));
  return legend;
}

} // namespace

void WriteGraphModel(IniFile& ini, const GraphModel& model) {
  SaveToIni(ini, XAxisSection, QString(), model.xAxis);
  SaveToIni(ini, YAxisSection, QString(), model.yAxis);
  WriteReal(ini, RangeSection, QStringLiteral("XMin"), model.range.xMin);
  WriteReal(ini, RangeSection, QStringLiteral("XMax"), model.range.xMax);
  WriteReal(ini, RangeSection, QStringLiteral("YMin"), model.range.yMin);
  WriteReal(ini, RangeSection, QStringLiteral("YMax"), model.range.yMax);
  ini.WriteInteger(MarginSection, QStringLiteral("Left"), model.margins.left);
  ini.WriteInteger(MarginSection, QStringLiteral("Right"), model.margins.right);
  ini.WriteInteger(MarginSection, QStringLiteral("Top"), model.margins.top);
  ini.WriteInteger(MarginSection, QStringLiteral("Bottom"), model.margins.bottom);
  ini.WriteBool(GraphSection, QStringLiteral("BorderLine"), model.borderLine);
  WriteBrush(ini, GraphSection, QStringLiteral("Back"), model.backBrush);
  for (int n = 1; n <= GraphModel::FormulaCount; ++n)
    SaveToIni(ini, FunctionSection, funcPrefix(n), model.formulas[std::size_t(n - 1)]);
  for (int n = 1; n <= GraphModel::LabelCount; ++n)
    writeLabel(ini, labelPrefix(n), model.labels.slot(n));
  writeAutoRedraw(ini, model);
  writeLegend(ini, model.legend);
  WriteParameters(ini, model.parameters);
  WriteCalculus(ini, model.calculus);
  WriteDataSets(ini, model.dataSets);
}

void ReadGraphModel(const IniFile& ini, GraphModel& model) {
  if (!holdsDocument(ini))
    throw KurvoError(QStringLiteral("%1 は Kurvo のファイルではありません").arg(ini.FileName()));
  LoadFromIni(ini, XAxisSection, QString(), model.xAxis);
  LoadFromIni(ini, YAxisSection, QString(), model.yAxis);
  model.range.xMin = ReadReal(ini, RangeSection, QStringLiteral("XMin"));
  model.range.xMax = ReadReal(ini, RangeSection, QStringLiteral("XMax"));
  model.range.yMin = ReadReal(ini, RangeSection, QStringLiteral("YMin"));
  model.range.yMax = ReadReal(ini, RangeSection, QStringLiteral("YMax"));
  GraphMargins& margins = model.margins;
  margins.left = ini.ReadInteger(MarginSection, QStringLiteral("Left"), margins.left);
  margins.right = ini.ReadInteger(MarginSection, QStringLiteral("Right"), margins.right);
  margins.top = ini.ReadInteger(MarginSection, QStringLiteral("Top"), margins.top);
  margins.bottom = ini.ReadInteger(MarginSection, QStringLiteral("Bottom"), margins.bottom);
  model.borderLine = ini.ReadBool(GraphSection, QStringLiteral("BorderLine"), model.borderLine);
  ReadBrush(ini, GraphSection, QStringLiteral("Back"), model.backBrush);
  for (int n = 1; n <= GraphModel::FormulaCount; ++n)
    LoadFromIni(ini, FunctionSection, funcPrefix(n), model.formulas[std::size_t(n - 1)]);
  readLabels(ini, model);
  model.autoRedraw = ini.ReadBool(OptionsSection, AutoRedrawKey, model.autoRedrawByDefault);
  model.legend = readLegend(ini);
  // The saved rows in their order, then what the formulas use besides, as the engine finds
  // them: not stored, at the value of a variable nobody set.
  model.parameters = ReadParameters(ini);
  model.calculus = ReadCalculus(ini);
  model.dataSets = ReadDataSets(ini);
  for (const TFormula& formula : model.formulas)
    model.parameters.addFound(formula.ParameterNames());
}
