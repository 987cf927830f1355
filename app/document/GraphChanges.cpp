// Whether a graph changed: the graph as a document would hold it, compared with the same bytes
// recorded when it was last loaded, saved or marked. Whatever the document stores counts, and
// nothing else, so a new kind of document content is tracked without further code.
#include "FuncGraph.h"
#include "IniFile.h"

QByteArray TFuncGraph::documentState() const {
  IniFile ini;
  WriteDocument(ini);
  return ini.Contents();
}

bool TFuncGraph::IsChanged() const {
  return documentState() != unchangedState;
}

void TFuncGraph::MarkUnchanged() {
  unchangedState = documentState();
}
