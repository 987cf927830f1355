#include "CalculusSections.h"

#include "IniFile.h"
#include "KeyGroups.h"
#include "NumberFormat.h"

#include <cmath>
#include <optional>

namespace {

constexpr int SlotCount = 5;
const QString FunctionSection = QStringLiteral("Function");

std::optional<double> readFinite(const IniFile& ini, const QString& section, const QString& key) {
  const std::optional<long double> value = textToFloat(ini.ReadString(section, key, QString()));
  if (!value || !std::isfinite(static_cast<double>(*value))) return std::nullopt;
  return static_cast<double>(*value);
}

std::optional<int> readSlot(const IniFile& ini, const QString& section, const QString& key,
                            int least) {
  const int slot = ini.ReadInteger(section, key, -1);
  if (slot < least || slot > SlotCount) return std::nullopt;
  return slot;
}

QString derivativeKey(int slot) {
  return NumberedName("Func", slot) + QStringLiteral("Derivative");
}

// Writes each mark into its numbered section and erases the numbered sections after them.
template <class Mark, class Write>
void writeSections(IniFile& ini, const char* stem, const std::vector<Mark>& marks, int most,
                   Write write) {
  int number = 0;
  for (const Mark& mark : marks)
    write(NumberedName(stem, ++number), mark);
  while (++number <= most)
    ini.EraseSection(NumberedName(stem, number));
}

} // namespace

void WriteCalculus(IniFile& ini, const GraphCalculus& calculus) {
  for (int slot = 1; slot <= SlotCount; ++slot)
    WriteUnlessDefault(ini, FunctionSection, derivativeKey(slot),
                       calculus.derivatives[std::size_t(slot - 1)], false);
  writeSections(ini, "Tangent", calculus.tangents, GraphCalculus::MaxTangents,
                [&ini](const QString& section, const GraphTangent& tangent) {
                  ini.WriteInteger(section, QStringLiteral("Slot"), tangent.slot);
                  WriteExactReal(ini, section, QStringLiteral("X"), tangent.x);
                });
  writeSections(ini, "Area", calculus.areas, GraphCalculus::MaxAreas,
                [&ini](const QString& section, const GraphArea& area) {
                  ini.WriteInteger(section, QStringLiteral("Slot"), area.slot);
                  ini.WriteInteger(section, QStringLiteral("Other"), area.other);
                  WriteExactReal(ini, section, QStringLiteral("From"), area.from);
                  WriteExactReal(ini, section, QStringLiteral("To"), area.to);
                });
}

GraphCalculus ReadCalculus(const IniFile& ini) {
  GraphCalculus calculus;
  for (int slot = 1; slot <= SlotCount; ++slot)
    calculus.derivatives[std::size_t(slot - 1)] =
        ini.ReadBool(FunctionSection, derivativeKey(slot), false);
  for (int n = 1; n <= GraphCalculus::MaxTangents; ++n) {
    const QString section = NumberedName("Tangent", n);
    const auto slot = readSlot(ini, section, QStringLiteral("Slot"), 1);
    const auto x = readFinite(ini, section, QStringLiteral("X"));
    if (slot && x) calculus.tangents.push_back({*slot, *x});
  }
  for (int n = 1; n <= GraphCalculus::MaxAreas; ++n) {
    const QString section = NumberedName("Area", n);
    const auto slot = readSlot(ini, section, QStringLiteral("Slot"), 1);
    const auto other = readSlot(ini, section, QStringLiteral("Other"), 0);
    const auto from = readFinite(ini, section, QStringLiteral("From"));
    const auto to = readFinite(ini, section, QStringLiteral("To"));
    if (slot && other && from && to) calculus.areas.push_back({*slot, *other, *from, *to});
  }
  return calculus;
}
