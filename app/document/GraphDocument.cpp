#include "GraphDocument.h"

#include "GraphModel.h"
#include "IniFile.h"
#include "KurvoError.h"

#include <QFileInfo>

QString DocumentFileName(const QString& graphName) {
  const QFileInfo info(graphName);
  const QString suffix = info.suffix();
  const QString name = info.fileName();
  QString base = graphName;
  // "name." has an empty suffix but its dot is the extension's.
  if (!suffix.isEmpty() || name.endsWith(QLatin1Char('.'))) base.chop(suffix.size() + 1);
  return base + QStringLiteral(".kvx");
}

void SaveGraphDocument(const QString& fileName, const GraphModel& model) {
  IniFile ini(fileName);
  WriteGraphModel(ini, model);
  if (!ini.UpdateFile()) throw KurvoError(QStringLiteral("%1 に書き込めません").arg(fileName));
}

void LoadGraphDocument(const QString& fileName, GraphModel& model) {
  const IniFile ini(fileName);
  // Checked before anything changes, so a refused file leaves the model as it was.
  if (ini.ReadFailed()) throw KurvoError(QStringLiteral("%1 を読めません").arg(fileName));
  ReadGraphModel(ini, model);
}

QByteArray DocumentState(const GraphModel& model) {
  IniFile ini;
  WriteGraphModel(ini, model);
  return ini.Contents();
}
