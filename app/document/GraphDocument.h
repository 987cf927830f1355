// The graph document: a graph model read from and written to INI text and files, and the
// state that tells whether a graph changed. Functions over the model; no widget here.
#pragma once

#include <QByteArray>
#include <QString>

class IniFile;
struct GraphModel;

// The document file of a graph name: the name with its extension replaced by ".kvx", or with
// ".kvx" appended when it has none. Only the file name's own extension counts, not a dot in
// a folder name.
QString DocumentFileName(const QString& graphName);

// Reads the document over the model: a missing key keeps the model's value, as opening a file
// keeps the graph's. Raises KurvoError, and changes nothing, when the text holds none of the
// document's sections.
void ReadGraphModel(const IniFile& ini, GraphModel& model);
// Writes every section, changing only the keys the document holds.
void WriteGraphModel(IniFile& ini, const GraphModel& model);

// Writes the model over the file in place, so that sections and keys of other programs stay.
// The whole document is written at once: raises KurvoError, and leaves the file as it was,
// when it cannot be written.
void SaveGraphDocument(const QString& fileName, const GraphModel& model);
// The file read over the model. Raises KurvoError, and changes nothing, when the file cannot be
// read or holds none of the document's sections.
void LoadGraphDocument(const QString& fileName, GraphModel& model);

// The model written into an empty document. Two models hold the same document exactly when
// their states are equal, so a graph is unchanged while its state is the one recorded when it
// was last loaded or saved, and a new kind of document content is tracked without more code.
QByteArray DocumentState(const GraphModel& model);
