#include "Evalon.h"

#include "EvalonLibrary.h"
#include "Utf8Codec.h"

#include <QByteArray>

#include <numbers>

#include <utility>

namespace {

// The engine reads texts from 256-byte buffers. A longer text is refused as the engine
// refuses an over-long text (status 4) rather than cut, which would evaluate another
// formula or write another variable.
constexpr qsizetype BufferSize = 256;

// The constants every engine object of the program holds, so that sin(pi*x) and e^x mean
// what they say; the engine itself knows no constants.
constexpr double Pi = std::numbers::pi;
constexpr double E = std::numbers::e;

// Engine statuses are shifted up by one, since 1 stands for a library that did not load;
// the status -1 (no variable store) counts as no error.
int errorCodeOf(std::uint32_t status) {
  const int code = static_cast<int>(status);
  return code < 0 ? 0 : code + 1;
}

} // namespace

TEvalon::TEvalon(QObject* owner) : QObject(owner) {}

// The engine object goes first, then the library that made it.
TEvalon::~TEvalon() {
  if (FDeleteCalcSystem) FDeleteCalcSystem(FCalcSystem);
  FLibHandle.release();
}

// The exports are taken from the library just loaded rather than linked, so that the program
// starts, and its window opens, also when the library is missing.
bool TEvalon::LoadEngine() {
  FErrorCode = 0;
  if (FLibHandle.isLoaded()) return true;
  DynamicLibrary library = DynamicLibrary::load(QString::fromLatin1(LibraryName));
  const auto init = reinterpret_cast<decltype(&InitCalcSystem)>(library.symbol("InitCalcSystem"));
  const auto release =
      reinterpret_cast<decltype(&DeleteCalcSystem)>(library.symbol("DeleteCalcSystem"));
  if (!init || !release) {
    FErrorCode = 1;
    return false;
  }
  FLibHandle = std::move(library);
  FDeleteCalcSystem = release;
  FMessage = reinterpret_cast<decltype(&EvalonMessage)>(FLibHandle.symbol("EvalonMessage"));
  FCalcSystem = init();
  SetConstants();
  return true;
}

bool TEvalon::SetConstants() {
  return SetVariable(QByteArrayLiteral("pi"), Pi) || SetVariable(QByteArrayLiteral("e"), E);
}

QString TEvalon::ErrorMessage() const {
  const char* text = FMessage && FErrorCode > 1 ? FMessage(FErrorCode - 1) : nullptr;
  return text ? QString::fromUtf8(text) : QString();
}

double TEvalon::CalcValue(const QString& formula, bool& failed) {
  return CalcValue(toUtf8KeepingBytes(formula), failed);
}

double TEvalon::CalcValue(const QByteArray& text, bool& failed) {
  FErrorCode = 0;
  failed = true;
  if (!FCalcSystem) return 0.0;
  if (text.size() >= BufferSize) {
    FErrorCode = errorCodeOf(ev::TextTooLong);
    return 0.0;
  }
  std::uint32_t status = 0;
  const double value = FCalcSystem->calcDoubleFormulaAs(text.constData(), status);
  failed = status != ev::Ok;
  if (failed) FErrorCode = errorCodeOf(status);
  return value;
}

bool TEvalon::SetVariable(const QString& name, double value) {
  return SetVariable(toUtf8KeepingBytes(name), value);
}

bool TEvalon::SetVariable(const QByteArray& text, double value) {
  FErrorCode = 0;
  if (!FCalcSystem) return true;
  if (text.size() >= BufferSize) {
    FErrorCode = errorCodeOf(ev::TextTooLong);
    return true;
  }
  const int status = FCalcSystem->SetFloatValue(text.constData(), value);
  if (status != ev::Ok) FErrorCode = errorCodeOf(static_cast<std::uint32_t>(status));
  return status != ev::Ok;
}

std::optional<double> TEvalon::VariableValue(const QByteArray& text) {
  FErrorCode = 0;
  if (!FCalcSystem || text.size() >= BufferSize) return std::nullopt;
  double value = 0.0;
  const int status = FCalcSystem->GetFloatValue(text.constData(), value);
  if (status != ev::Ok) return std::nullopt;
  return value;
}
