// The graph document: the file a graph is saved to and loaded from.
#pragma once

#include <QString>

// The document file of a graph name: the name with its extension replaced by ".kvx", or with
// ".kvx" appended when it has none. Only the file name's own extension counts, not a dot in
// a folder name.
QString DocumentFileName(const QString& graphName);
