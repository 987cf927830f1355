// TEvalon: the program's binding to the formula engine. It loads the engine library, holds
// the one engine object of the program and offers the two services the graph needs: set
// the double variable of a name, and evaluate a formula to a double in double mode. The
// engine object starts with the double variables pi and e.
#pragma once

#include "DynamicLibrary.h"

#include <QObject>
#include <QString>

#include <optional>

class TCalcSystem;

class TEvalon : public QObject {
  Q_OBJECT
  // 0: the last operation succeeded, or failed only for want of an engine object;
  // 1: LoadEngine could not load the library; n + 1: the engine answered status n.
  Q_PROPERTY(int ErrorCode READ ErrorCode)

public:
  // The engine library's file name in the program's library folders.
  static constexpr const char* LibraryName = "libEvalon.so";

  explicit TEvalon(QObject* owner = nullptr);
  ~TEvalon() override;

  // Loads the library and creates the engine object; false when the library cannot be
  // loaded. A second call keeps the engine object, and so the variables, of the first.
  bool LoadEngine();
  // The value of the formula in double arithmetic; failed tells whether it carries meaning
  // (it is 0.0 when not).
  double CalcValue(const QString& formula, bool& failed);
  // The same for a formula already in the engine's encoding (UTF-8 with escaped bytes kept,
  // toUtf8KeepingBytes), so that a caller evaluating one formula many times converts it once.
  double CalcValue(const QByteArray& formula, bool& failed);
  // Writes the double variable of that name; true means failure.
  bool SetVariable(const QString& name, double value);
  bool SetVariable(const QByteArray& name, double value);
  // The double variable of that name; nothing when there is none (or no engine).
  std::optional<double> VariableValue(const QByteArray& name);
  // Writes the constants pi and e as double variables, as loading the engine does; a new or
  // opened graph calls it again. True means failure.
  bool SetConstants();
  int ErrorCode() const { return FErrorCode; }
  // The engine's message for ErrorCode 2 and above; empty otherwise.
  QString ErrorMessage() const;

private:
  TCalcSystem* FCalcSystem = nullptr;
  void (*FDeleteCalcSystem)(TCalcSystem*) noexcept = nullptr;
  const char* (*FMessage)(int) noexcept = nullptr;
  DynamicLibrary FLibHandle;
  int FErrorCode = 0;
};
