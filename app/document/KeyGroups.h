// The key groups of a graph document: a font, pen, brush or real written and read under a key
// prefix that the caller concatenates in front of each key name. Every read has a default, so a
// missing or malformed key never fails.
#pragma once

#include "FuncFormula.h"
#include "GraphAxis.h"
#include "GraphBrush.h"
#include "GraphFont.h"
#include "GraphPen.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

class IniFile;

// The name of the numbered slot of a group: the stem and two digits ("Func01", "Parameter12").
QString NumberedName(const char* stem, int number);

// A key name made of a prefix and a name, joined on the stack: a load and a save of a document
// look up hundreds of them.
class KeyName {
public:
  KeyName(QStringView prefix, QStringView name) {
    m_text.append(prefix.data(), prefix.size());
    m_text.append(name.data(), name.size());
  }
  operator QStringView() const { return {m_text.data(), m_text.size()}; }

private:
  QVarLengthArray<QChar, 48> m_text;
};

void WriteFont(IniFile& ini, QStringView section, QStringView prefix, const TFont& font);
// Missing keys keep the font's attributes; they are applied in the order charset, colour, name,
// size, style, and the style keeps its low four bits.
void ReadFont(const IniFile& ini, QStringView section, QStringView prefix, TFont& font);

void WritePen(IniFile& ini, QStringView section, QStringView prefix, const TPen& pen);
// A style other than 1..6 reads as solid.
void ReadPen(const IniFile& ini, QStringView section, QStringView prefix, TPen& pen);

void WriteBrush(IniFile& ini, QStringView section, QStringView prefix, const TBrush& brush);
// The style is kept as read, also outside the known styles.
void ReadBrush(const IniFile& ini, QStringView section, QStringView prefix, TBrush& brush);

// Reals are written in the general number format with 15 digits and "." as the separator,
// whatever the locale, so that documents travel between desktops. A missing key or text that is
// not a number reads as 0.
void WriteReal(IniFile& ini, QStringView section, QStringView key, long double value);
long double ReadReal(const IniFile& ini, QStringView section, QStringView key);
// A double that must read back exactly (a point the user chose): 15 digits where they give the
// same double again, otherwise the 17 that always do.
void WriteExactReal(IniFile& ini, QStringView section, QStringView key, double value);

// A setting that older documents do not hold: written only when it differs from its default,
// or when the file holds the key already (so that a change back reaches the file). A graph that
// never uses it keeps its document byte for byte.
void WriteUnlessDefault(IniFile& ini, QStringView section, QStringView key, bool value,
                        bool defaultValue);

// The key group of an axis and of a function slot, each key named prefix + key.
void SaveToIni(IniFile& ini, QStringView section, QStringView prefix, const TAxis& axis);
void LoadFromIni(const IniFile& ini, QStringView section, QStringView prefix, TAxis& axis);
void SaveToIni(IniFile& ini, QStringView section, QStringView prefix, const TFormula& slot);
void LoadFromIni(const IniFile& ini, QStringView section, QStringView prefix, TFormula& slot);
