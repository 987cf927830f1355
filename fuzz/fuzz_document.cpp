// Arbitrary bytes as a document file: the INI service must read every key with its default or
// a value within its limits, and a graph must load the file, save it again and load the copy,
// or refuse it as no document and stay as it was.
#include "DocumentFuzzSupport.h"
#include "FuncGraph.h"
#include "IniFile.h"
#include "KurvoError.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

using fuzz::asRewritten;
using fuzz::isBlank;

void require(bool holds) {
  if (!holds) std::abort();
}

QApplication* application = nullptr;
QTemporaryDir* folder = nullptr;

void checkService(const QString& path) {
  IniFile ini(path);
  for (const QString& section : {QStringLiteral("Margin"), QStringLiteral("GraphLabel")}) {
    for (const QString& key : ini.ReadSection(section)) {
      const QString value = ini.ReadString(section, key, QStringLiteral("-"));
      // Every byte gives at most one character; blanks around are gone.
      require(value.size() <= IniFile::MaxValueBytes);
      require(value.isEmpty() || (!isBlank(value.front()) && !isBlank(value.back())));
      ini.ReadInteger(section, key, 0);
    }
  }
  ini.WriteString(QStringLiteral("Margin"), QStringLiteral("Left"), QStringLiteral("5"));
  require(ini.ReadInteger(QStringLiteral("margin"), QStringLiteral("LEFT"), 0) == 5);
}

} // namespace

// The font library keeps some of its lookups for the life of the process by design.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  application = new QApplication(*argc, *argv);
  folder = new QTemporaryDir();
  // Font matching caches what it finds for the life of the process; one graph drawn here makes
  // that happen before the leak check of the first input.
  TFuncGraph warmUp;
  warmUp.resize(120, 100);
  warmUp.UpdateGraph();
  warmUp.ClipboardPicture();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString path = folder->filePath(QStringLiteral("input.kvx"));
  {
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    require(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
  }
  checkService(path);
  TFuncGraph graph;
  graph.resize(120, 100);
  graph.MarkUnchanged();
  graph.setGraphName(path);
  try {
    graph.LoadFromFile();
  } catch (const KurvoError&) {
    // Refused as no document; a refusal must leave the new graph as it was.
    require(!graph.IsChanged());
    return 0;
  }
  graph.setGraphName(folder->filePath(QStringLiteral("copy.kvx")));
  graph.SaveToFile();
  TFuncGraph copy;
  copy.resize(120, 100);
  copy.setGraphName(graph.GraphName());
  copy.LoadFromFile();
  const bool utf8 = IniFile(copy.GraphName()).IsUtf8();
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n) {
    const QString written = asRewritten(graph.FormulaText(n));
    require(copy.FormulaText(n) == (utf8 ? fuzz::asReadBackInUtf8(written) : written));
  }
  return 0;
}
