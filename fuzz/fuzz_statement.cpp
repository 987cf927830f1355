// Arbitrary texts as an assignment statement, a print item and a write item, in long mode
// and then in double mode, so that the formats read what the statement assigned.
#include "FuzzSupport.h"

#include <cstdint>
#include <cstring>

namespace {

// A statement without "=" is refused.
void execute(TCalcSystem& system, const char* statement) {
  const int status = system.Execute(statement);
  fuzz::requireStatus(status);
  if (std::strchr(statement, '=') == nullptr) fuzz::require(status != ev::Ok);
}

// The value text is emptied first and written only on success; no buffer overruns.
void requireFormatted(int status, const fuzz::GuardedBuffer& text) {
  fuzz::requireStatus(status);
  fuzz::requireText(text, 255);
  if (status != ev::Ok) fuzz::require(text.textLength() == 0);
}

void printFormat(TCalcSystem& system, const char* item) {
  fuzz::GuardedBuffer label;
  fuzz::GuardedBuffer text;
  const int status = system.GetPrintFormat(item, label.data(), text.data());
  requireFormatted(status, text);
  fuzz::requireText(label, 255);
}

void writeFormat(TCalcSystem& system, const char* item) {
  fuzz::GuardedBuffer text;
  requireFormatted(system.GetWriteFormat(item, text.data()), text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto text = fuzz::terminated(data, size);
  TCalcSystem system;
  fuzz::presetVariables(system);
  for (const bool floatFlag : {false, true}) {
    system.SetFloatFlag(floatFlag);
    execute(system, text.data());
    printFormat(system, text.data());
    writeFormat(system, text.data());
  }
  return 0;
}
