// Arbitrary bytes as a document text, read into a graph model with no file and no drawing: the
// INI service and the whole loader. Each input that is a document is then saved over its own text
// (as a save over the opened file does) and into an empty text, and both saves are read again.
// Checked: every value of the model lies within what the document allows and is finite; every key
// the document writes holds the writer's form of what was read, so a value in that form already
// comes back byte for byte; both saves load back to the same model; a save grows at most linearly
// with the input.
#include "DocumentFuzzSupport.h"
#include "GraphDocument.h"
#include "GraphFont.h"
#include "GraphModel.h"
#include "GraphPen.h"
#include "IniFile.h"
#include "KeyGroups.h"
#include "KurvoError.h"
#include "NumberFormat.h"
#include "ParameterNames.h"
#include "ShiftJisCodec.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using fuzz::asRewritten;
using fuzz::isBlank;

// A broken invariant names its line, so that a crash report tells which one.
void require(bool holds, int line = __builtin_LINE()) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: fuzz_document_read.cpp:%d\n", line);
  std::abort();
}

// How the loader takes the text of a key, and so what a save writes for it.
enum class Kind {
  Text,      // kept, line breaks written as blanks
  Integer,   // a 32-bit integer, or the current value when the text is none
  Flag,      // an integer; non-zero is on
  Real,      // a number in the general format; text that is none is 0
  Charset,   // an integer kept to its low byte
  FontStyle, // an integer kept to its low four bits
  PenStyle,  // 1..6 kept, any other integer solid
  Enum,      // 0..255 kept, any other integer keeps the current value
  Untouched, // not written: the key keeps its text
  Cleared,   // written empty
  Fixed,     // written as the key's own text, worked out from the other keys of its group
  Erased,    // its section is erased
};

struct Key {
  QString section;
  QString name;
  Kind kind;
  QString savedSection = QString(); // where the save writes it, when not in its own section
  QString written = QString();      // the text of a Fixed key
};

using Keys = std::vector<Key>;

void addFont(Keys& keys, const QString& section, const QString& prefix, bool written) {
  const auto kind = [written](Kind k) { return written ? k : Kind::Untouched; };
  keys.push_back({section, prefix + "FontCharset", kind(Kind::Charset)});
  keys.push_back({section, prefix + "FontColor", kind(Kind::Integer)});
  keys.push_back({section, prefix + "FontName", kind(Kind::Text)});
  keys.push_back({section, prefix + "FontSize", kind(Kind::Integer)});
  keys.push_back({section, prefix + "FontStyle", kind(Kind::FontStyle)});
}

void addAxis(Keys& keys, const QString& section) {
  keys.push_back({section, "Visible", Kind::Flag});
  keys.push_back({section, "Caption", Kind::Text});
  keys.push_back({section, "GuageType", Kind::Enum});
  keys.push_back({section, "GuagePeriod", Kind::Real});
  keys.push_back({section, "ValPos", Kind::Enum});
  keys.push_back({section, "ValXDist", Kind::Integer});
  keys.push_back({section, "ValYDist", Kind::Integer});
  addFont(keys, section, QString(), true);
}

// A loaded label writes its whole group; a slot without one writes only an empty caption.
void addLabel(Keys& keys, const QString& prefix, bool loaded) {
  const QString section = QStringLiteral("GraphLabel");
  keys.push_back({section, prefix + "Caption", loaded ? Kind::Text : Kind::Cleared});
  // A loaded label writes the colour of the graph's fill, whatever the file said.
  if (!loaded) keys.push_back({section, prefix + "Color", Kind::Untouched});
  for (const char* name : {"Left", "Top", "Tag"})
    keys.push_back({section, prefix + name, loaded ? Kind::Integer : Kind::Untouched});
  addFont(keys, section, prefix, loaded);
}

// The names of the parameter sections and of their keys, made once: every input asks for them.
const QString& parameterSection(int number) {
  static const std::vector<QString> sections = [] {
    std::vector<QString> made(GraphParameters::MaxCount + 1);
    for (int n = 1; n <= GraphParameters::MaxCount; ++n)
      made[std::size_t(n)] = NumberedName("Parameter", n);
    return made;
  }();
  return sections[std::size_t(number)];
}
const QString NameKey = QStringLiteral("Name");
const QString ValueKey = QStringLiteral("Value");
const QString MinKey = QStringLiteral("Min");
const QString MaxKey = QStringLiteral("Max");

// The row a parameter section gives: a value or an end that is missing, no number or not finite
// takes its default, so does a range that does not rise, and a value outside the range widens it.
GraphParameter parameterRow(const IniFile& ini, const QString& section, const QString& name) {
  const auto finite = [&](QStringView key, double fallback) {
    const std::optional<long double> value = textToFloat(ini.ReadString(section, key, QString()));
    return value && std::isfinite(double(*value)) ? double(*value) : fallback;
  };
  GraphParameter row{name};
  const double min = finite(MinKey, row.min);
  const double max = finite(MaxKey, row.max);
  if (min < max) {
    row.min = min;
    row.max = max;
  }
  row.value = finite(ValueKey, std::clamp(row.value, row.min, row.max));
  row.min = std::min(row.min, row.value);
  row.max = std::max(row.max, row.value);
  return row;
}

// A section whose name is a parameter name not read before is a row, written in the section of
// its place among the rows; the sections beyond the stored rows are erased (the rows the
// formulas add after the read ones are not stored).
void addParameters(Keys& keys, const IniFile& input, const GraphModel& model) {
  const auto stored = std::count_if(model.parameters.begin(), model.parameters.end(),
                                    [](const GraphParameter& row) { return row.stored; });
  QStringList names;
  for (int number = 1; number <= GraphParameters::MaxCount; ++number) {
    const QString& section = parameterSection(number);
    if (number > stored)
      for (const QString& name : {NameKey, ValueKey, MinKey, MaxKey})
        keys.push_back({section, name, Kind::Erased});
    const QString name = input.ReadString(section, NameKey, QString());
    if (!isParameterName(name) || names.contains(name)) continue;
    names << name;
    const QString& saved = parameterSection(int(names.size()));
    const GraphParameter row = parameterRow(input, section, name);
    // Fifteen digits, or seventeen when fifteen would not read back as a sound row.
    const auto readBack = [](double v) {
      return double(*textToFloat(formatGeneral(v, 15, QStringLiteral("."))));
    };
    const double min = readBack(row.min);
    const double max = readBack(row.max);
    const bool sound =
        std::isfinite(min) && std::isfinite(max) && std::isfinite(readBack(row.value)) && min < max;
    const int precision = sound ? 15 : 17;
    const auto real = [precision](double value) {
      return formatGeneral(value, precision, QStringLiteral("."));
    };
    keys.push_back({section, NameKey, Kind::Text, saved});
    keys.push_back({section, ValueKey, Kind::Fixed, saved, real(row.value)});
    keys.push_back({section, MinKey, Kind::Fixed, saved, real(row.min)});
    keys.push_back({section, MaxKey, Kind::Fixed, saved, real(row.max)});
  }
}

// The keys whose handling is the same for every document, built once.
const Keys& fixedKeys() {
  static const Keys keys = [] {
    Keys keys;
    addAxis(keys, QStringLiteral("XAxis"));
    addAxis(keys, QStringLiteral("YAxis"));
    for (const char* name : {"XMin", "XMax", "YMin", "YMax"})
      keys.push_back({QStringLiteral("GraphRange"), name, Kind::Real});
    for (const char* name : {"Left", "Right", "Top", "Bottom"})
      keys.push_back({QStringLiteral("Margin"), name, Kind::Integer});
    keys.push_back({QStringLiteral("Graph"), "BorderLine", Kind::Flag});
    keys.push_back({QStringLiteral("Graph"), "BackBrushColor", Kind::Integer});
    keys.push_back({QStringLiteral("Graph"), "BackBrushStyle", Kind::Integer});
    for (int n = 1; n <= GraphModel::FormulaCount; ++n) {
      const QString prefix = NumberedName("Func", n);
      keys.push_back({QStringLiteral("Function"), prefix + "Formula", Kind::Text});
      keys.push_back({QStringLiteral("Function"), prefix + "PenPenColor", Kind::Integer});
      keys.push_back({QStringLiteral("Function"), prefix + "PenPenStyle", Kind::PenStyle});
      keys.push_back({QStringLiteral("Function"), prefix + "PenPenWidth", Kind::Integer});
    }
    keys.push_back({QStringLiteral("Options"), "AutoRedraw", Kind::Flag});
    return keys;
  }();
  return keys;
}

// The keys of a label slot, with or without a loaded label, built once.
const Keys& labelKeys(int slot, bool loaded) {
  static const std::vector<Keys> table = [] {
    std::vector<Keys> table;
    for (int n = 1; n <= GraphModel::LabelCount; ++n)
      for (const bool withLabel : {false, true})
        addLabel(table.emplace_back(), NumberedName("Label", n), withLabel);
    return table;
  }();
  return table[std::size_t(2 * (slot - 1) + (loaded ? 1 : 0))];
}

// The integer of a key's text, or nothing when the text is none (the reader then keeps its
// default, which a second default tells).
std::optional<int> integerOf(const IniFile& ini, const Key& key) {
  const int value = ini.ReadInteger(key.section, key.name, 0);
  if (value == 0 && ini.ReadInteger(key.section, key.name, 1) != 0) return std::nullopt;
  return value;
}

// No value read holds a line break, so this default tells a missing key.
const QString Missing = QStringLiteral("\n");

// What a save writes for a key whose text was read, or nothing when that depends on the state
// before reading.
std::optional<QString> asWritten(const IniFile& ini, const Key& key, const QString& text) {
  if (key.kind == Kind::Text) return asRewritten(text);
  if (key.kind == Kind::Untouched) return text;
  if (key.kind == Kind::Cleared) return QString();
  if (key.kind == Kind::Fixed) return key.written;
  if (key.kind == Kind::Erased) return Missing;
  if (key.kind == Kind::Real)
    return formatGeneral(textToFloat(text).value_or(0.0L), 15, QStringLiteral("."));
  const std::optional<int> value = integerOf(ini, key);
  if (!value) return std::nullopt;
  switch (key.kind) {
  case Kind::Flag:
    return QString::number(*value != 0 ? 1 : 0);
  case Kind::Charset:
    return QString::number(static_cast<std::uint8_t>(*value));
  case Kind::FontStyle:
    return QString::number(fontStyleFromStored(*value));
  case Kind::PenStyle:
    return QString::number(static_cast<int>(penStyleFromStored(*value)));
  case Kind::Enum:
    return *value >= 0 && *value <= 255 ? std::optional(QString::number(*value)) : std::nullopt;
  default:
    return QString::number(*value);
  }
}

// Every key that the document reads holds what the loaded model writes for it.
void checkWrittenBack(const IniFile& input, const IniFile& saved, const GraphModel& model) {
  const auto check = [&](const Key& key) {
    const QString text = input.ReadString(key.section, key.name, Missing);
    if (text == Missing) return;
    // The service's promises: a value is cut and trimmed.
    require(text.size() <= IniFile::MaxValueBytes);
    require(text.isEmpty() || (!isBlank(text.front()) && !isBlank(text.back())));
    const QString& savedSection = key.savedSection.isEmpty() ? key.section : key.savedSection;
    if (std::optional<QString> expected = asWritten(input, key, text)) {
      // Bytes kept from CP932 that would join into a character in UTF-8 are written otherwise.
      if (saved.IsUtf8()) expected = fuzz::asReadBackInUtf8(*expected);
      require(saved.ReadString(savedSection, key.name, Missing) == *expected);
    }
  };
  for (const Key& key : fixedKeys())
    check(key);
  for (int n = 1; n <= GraphModel::LabelCount; ++n)
    for (const Key& key : labelKeys(n, model.labels[std::size_t(n - 1)].has_value()))
      check(key);
  Keys parameters;
  addParameters(parameters, input, model);
  for (const Key& key : parameters)
    check(key);
}

void checkFont(const TFont& font) {
  require(font.Style <= 15);
  // Each byte of a value gives at most one character, which takes at most three bytes in UTF-8.
  require(font.Name.size() <= 3 * std::size_t(IniFile::MaxValueBytes));
}

void checkAxis(const TAxis& axis) {
  require(std::isfinite(axis.GuagePeriod));
  require(axis.Caption.size() <= IniFile::MaxValueBytes);
  checkFont(axis.ValFont);
}

// Every value of a loaded model within the limits of its key, and every real finite.
void checkModel(const GraphModel& model) {
  checkAxis(model.xAxis);
  checkAxis(model.yAxis);
  for (const long double v :
       {model.range.xMin, model.range.xMax, model.range.yMin, model.range.yMax})
    require(std::isfinite(v));
  for (const TFormula& formula : model.formulas) {
    require(formula.Formula.size() <= IniFile::MaxValueBytes);
    const auto style = static_cast<int>(formula.Pen.Style);
    require(style >= 0 && style <= 6);
  }
  for (int n = 1; n <= GraphModel::LabelCount; ++n) {
    const GraphLabels::Slot& label = model.labels.slot(n);
    if (!label) continue;
    require(label->tag == n && label->color == model.backBrush.Color);
    require(!label->caption.isEmpty() && label->caption.size() <= IniFile::MaxValueBytes);
    checkFont(label->font);
  }
  const GraphParameters& parameters = model.parameters;
  require(parameters.count() <= GraphParameters::MaxCount);
  for (int index = 0; index < parameters.count(); ++index) {
    const GraphParameter& row = parameters.at(index);
    require(isParameterName(row.name) && parameters.indexOf(row.name) == index);
    for (const double v : {row.value, row.min, row.max})
      require(std::isfinite(v));
    require(row.min < row.max && row.min <= row.value && row.value <= row.max);
  }
}

// A CP932 text with each character in the form its encoder writes. CP932 has duplicate codes for
// a few hundred characters (the NEC-selected IBM extensions among them), and a character read in
// either form is written in the standard one, as the system's own conversion does; bytes that
// decode to no character stay as they are.
QByteArray inStandardForm(const QByteArray& text) {
  return text.startsWith("\xEF\xBB\xBF") ? text : toShiftJis(fromShiftJis(text));
}

QByteArray contents(const GraphModel& model, IniFile ini = IniFile()) {
  WriteGraphModel(ini, model);
  return ini.Contents();
}

// A save holds at most the whole new-graph document with every label, plus each value read,
// and a change to UTF-8 makes a double-byte character at most three bytes.
void checkBounded(const QByteArray& saved, std::size_t inputSize) {
  constexpr std::size_t FixedBound = 64 * 1024;
  require(std::size_t(saved.size()) <= FixedBound + 3 * inputSize);
}

const GraphModel* newModel = nullptr; // what a new graph holds

// The model a document read over a new graph's gives.
GraphModel loaded(const IniFile& ini) {
  GraphModel model = *newModel;
  ReadGraphModel(ini, model);
  return model;
}

// A written document with the blanks at the ends of each value left out. Values are written
// as they are, blanks included, and read trimmed: a model whose text has blanks (or line
// breaks, written as blanks) at its ends differs from the model its save loads back to in
// those blanks alone. Neither a CP932 nor a UTF-8 character holds a blank's byte.
QByteArray valuesTrimmed(const QByteArray& document) {
  QByteArray out;
  for (const QByteArray& line : document.split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (line.startsWith('[') || equals < 0) {
      out += line + '\n';
      continue;
    }
    QByteArrayView value = QByteArrayView(line).sliced(equals + 1);
    if (value.endsWith('\r')) value.chop(1);
    while (!value.isEmpty() && (value.front() == ' ' || value.front() == '\t'))
      value = value.sliced(1);
    while (!value.isEmpty() && (value.back() == ' ' || value.back() == '\t'))
      value.chop(1);
    out += line.left(equals + 1) + value.toByteArray() + "\r\n";
  }
  return out;
}

} // namespace

// Allocation stacks are left out of reports: recording one for each of the many small
// allocations of a load takes a third of the time. The stack of the faulty access still shows.
// New memory is not filled with garbage, which only shows reads of uninitialised memory, a
// fault AddressSanitizer does not report.
extern "C" const char* __asan_default_options() {
  return "malloc_context_size=0:max_malloc_fill_size=0";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // A graph is made once, for what a new one holds; the inputs need no widget.
  qputenv("QT_QPA_PLATFORM", "minimal");
  const QApplication application(*argc, *argv);
  newModel = new GraphModel(GraphModel::NewGraph());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const IniFile input = IniFile::FromBytes(bytes);
  GraphModel model = *newModel;
  try {
    ReadGraphModel(input, model);
  } catch (const KurvoError&) {
    // Refused as no document; a refusal must leave the model as it was.
    require(model == *newModel);
    return 0;
  }
  checkModel(model);
  const QByteArray overInput = contents(model, input);
  checkBounded(overInput, size);
  const IniFile overInputRead = IniFile::FromBytes(overInput);
  checkWrittenBack(input, overInputRead, model);
  const QByteArray fresh = contents(model);
  checkBounded(fresh, size);
  // Both saves load back to one model, which saves as the same document. A copy equal to the
  // model saves as fresh did, as a save depends on nothing else.
  const GraphModel copy = loaded(IniFile::FromBytes(fresh));
  checkModel(copy);
  require(loaded(overInputRead) == copy);
  if (copy == model) return 0;
  const QByteArray again = contents(copy);
  require(again == fresh || inStandardForm(again) == inStandardForm(fresh) ||
          valuesTrimmed(inStandardForm(again)) == valuesTrimmed(inStandardForm(fresh)));
  return 0;
}
