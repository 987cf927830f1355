// Saving and loading a whole graph: the sections in their fixed order, the five formula groups
// and the sixteen label groups.
#include "GraphDocument.h"

#include "FuncGraph.h"
#include "IniFile.h"
#include "KeyGroups.h"
#include "KurvoError.h"
#include "ParameterNames.h"
#include "ParameterSections.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>

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

// A file that holds none of these is not a graph document.
const QString DocumentSections[] = {XAxisSection, YAxisSection,    RangeSection, MarginSection,
                                    GraphSection, FunctionSection, LabelSection};

bool holdsDocument(const IniFile& ini) {
  return std::any_of(std::begin(DocumentSections), std::end(DocumentSections),
                     [&ini](const QString& section) { return ini.SectionExists(section); });
}

QString funcPrefix(int slot) {
  return QStringLiteral("Func%1").arg(slot, 2, 10, QLatin1Char('0'));
}

QString labelPrefix(int slot) {
  return QStringLiteral("Label%1").arg(slot, 2, 10, QLatin1Char('0'));
}

// What a label group holds while it is read. Left and Top carry over from one label group to
// the next as the defaults of missing keys.
struct LabelRecord {
  QString caption;
  GraphColor color = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t tag = 0;
  TFont font;
};

void writeLabel(IniFile& ini, const QString& prefix, const TGraphLabel* label) {
  if (!label || label->isHidden()) {
    // Only the caption marks the slot as empty; the slot's other keys stay as they were.
    ini.WriteString(LabelSection, prefix + "Caption", QString());
    return;
  }
  ini.WriteString(LabelSection, prefix + "Caption", label->Caption());
  ini.WriteInteger(LabelSection, prefix + "Color", label->Color());
  ini.WriteInteger(LabelSection, prefix + "Left", label->Left());
  ini.WriteInteger(LabelSection, prefix + "Top", label->Top());
  ini.WriteInteger(LabelSection, prefix + "Tag", label->Tag());
  WriteFont(ini, LabelSection, prefix, label->Font());
}

// False when the group holds no label (an empty caption); the record then keeps what it held.
bool readLabel(const IniFile& ini, const QString& prefix, LabelRecord& record) {
  const QString caption = ini.ReadString(LabelSection, prefix + "Caption", QString());
  if (caption.isEmpty()) return false;
  record.caption = caption;
  record.color = ini.ReadInteger(LabelSection, prefix + "Color", record.color);
  record.left = ini.ReadInteger(LabelSection, prefix + "Left", record.left);
  record.top = ini.ReadInteger(LabelSection, prefix + "Top", record.top);
  record.tag = ini.ReadInteger(LabelSection, prefix + "Tag", 0);
  record.font = TFont();
  ReadFont(ini, LabelSection, prefix, record.font);
  return true;
}

// Written only when on, so that a graph that never uses it keeps its document as it was. A file
// that says it is on is told it is off, so that it does not come back on when opened again.
void writeAutoRedraw(IniFile& ini, bool on) {
  if (on || ini.ReadSection(OptionsSection).contains(AutoRedrawKey, Qt::CaseInsensitive))
    ini.WriteBool(OptionsSection, AutoRedrawKey, on);
}

} // namespace

QString DocumentFileName(const QString& graphName) {
  const QFileInfo info(graphName);
  const QString suffix = info.suffix();
  const QString name = info.fileName();
  QString base = graphName;
  // "name." has an empty suffix but its dot is the extension's.
  if (!suffix.isEmpty() || name.endsWith(QLatin1Char('.'))) base.chop(suffix.size() + 1);
  return base + QStringLiteral(".kvx");
}

void TFuncGraph::WriteDocument(IniFile& ini) const {
  xAxis.SaveToIni(ini, XAxisSection, QString());
  yAxis.SaveToIni(ini, YAxisSection, QString());
  WriteReal(ini, RangeSection, QStringLiteral("XMin"), range.xMin);
  WriteReal(ini, RangeSection, QStringLiteral("XMax"), range.xMax);
  WriteReal(ini, RangeSection, QStringLiteral("YMin"), range.yMin);
  WriteReal(ini, RangeSection, QStringLiteral("YMax"), range.yMax);
  ini.WriteInteger(MarginSection, QStringLiteral("Left"), margins.left);
  ini.WriteInteger(MarginSection, QStringLiteral("Right"), margins.right);
  ini.WriteInteger(MarginSection, QStringLiteral("Top"), margins.top);
  ini.WriteInteger(MarginSection, QStringLiteral("Bottom"), margins.bottom);
  ini.WriteBool(GraphSection, QStringLiteral("BorderLine"), borderLine);
  WriteBrush(ini, GraphSection, QStringLiteral("Back"), backBrush);
  for (int n = 1; n <= FormulaCount; ++n)
    formulas[n - 1].SaveToIni(ini, FunctionSection, funcPrefix(n));
  for (int n = 1; n <= LabelCount; ++n)
    writeLabel(ini, labelPrefix(n), FLabels[n - 1]);
  writeAutoRedraw(ini, autoRedraw);
  WriteParameters(ini, parameters);
}

void TFuncGraph::SaveToFile() {
  const QString fileName = DocumentFileName(graphName);
  IniFile ini(fileName);
  WriteDocument(ini);
  // The whole document is written at once: a failure leaves the file as it was before.
  if (!ini.UpdateFile()) throw KurvoError(QStringLiteral("%1 に書き込めません").arg(fileName));
  MarkUnchanged();
}

void TFuncGraph::LoadFromFile() {
  const QString fileName = DocumentFileName(graphName);
  const IniFile ini(fileName);
  // Checked before anything changes, so a refused file leaves the graph as it was.
  if (ini.ReadFailed()) throw KurvoError(QStringLiteral("%1 を読めません").arg(fileName));
  ReadDocument(ini);
  UpdateGraph();
  // Before the curves are drawn: what the user does while they are drawn counts as a change.
  MarkUnchanged();
  DrawFunctions();
}

void TFuncGraph::ReadDocument(const IniFile& ini) {
  if (!holdsDocument(ini))
    throw KurvoError(QStringLiteral("%1 は Kurvo のファイルではありません").arg(ini.FileName()));
  xAxis.LoadFromIni(ini, XAxisSection, QString());
  yAxis.LoadFromIni(ini, YAxisSection, QString());
  range.xMin = ReadReal(ini, RangeSection, QStringLiteral("XMin"));
  range.xMax = ReadReal(ini, RangeSection, QStringLiteral("XMax"));
  range.yMin = ReadReal(ini, RangeSection, QStringLiteral("YMin"));
  range.yMax = ReadReal(ini, RangeSection, QStringLiteral("YMax"));
  margins.left = ini.ReadInteger(MarginSection, QStringLiteral("Left"), margins.left);
  margins.right = ini.ReadInteger(MarginSection, QStringLiteral("Right"), margins.right);
  margins.top = ini.ReadInteger(MarginSection, QStringLiteral("Top"), margins.top);
  margins.bottom = ini.ReadInteger(MarginSection, QStringLiteral("Bottom"), margins.bottom);
  borderLine = ini.ReadBool(GraphSection, QStringLiteral("BorderLine"), borderLine);
  ReadBrush(ini, GraphSection, QStringLiteral("Back"), backBrush);
  for (int n = 1; n <= FormulaCount; ++n)
    slot(n).LoadFromIni(ini, FunctionSection, funcPrefix(n));
  LabelRecord scratch;
  for (int n = 1; n <= LabelCount; ++n) {
    destroyLabel(n);
    if (!readLabel(ini, labelPrefix(n), scratch) || scratch.tag != n) continue;
    // The stored colour is not applied: labels are transparent.
    TGraphLabel* label = newLabel(n);
    label->setCaption(scratch.caption);
    label->setFont(scratch.font);
    label->move(scratch.left, scratch.top);
  }
  autoRedraw = ini.ReadBool(OptionsSection, AutoRedrawKey, false);
  // The rows of the graph before go first, whatever the document holds. Then the saved rows in
  // their order, and what the formulas use besides, as when typed.
  clearParameters();
  parameters = ReadParameters(ini);
  for (const TFormula& formula : formulas)
    parameters.add(parameterNames(formula.Formula));
  emit ParametersChanged();
}
