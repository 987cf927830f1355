#include "LineRunner.h"

#include "EvalonLibrary.h"
#include "TCalcSystem.h"

namespace {

constexpr std::size_t BufferSize = 256; // the engine's text buffers

bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

bool isAssignment(std::string_view line) {
  bool quoted = false;
  for (std::size_t n = 0; n < line.size(); ++n) {
    const char c = line[n];
    if (c == '"') quoted = !quoted;
    if (c != '=') continue;
    if (quoted) return false;
    const bool joinedAfter = n + 1 < line.size() && line[n + 1] == '=';
    const bool joinedBefore =
        n > 0 && (line[n - 1] == '!' || line[n - 1] == '<' || line[n - 1] == '>');
    return !joinedAfter && !joinedBefore;
  }
  return false;
}

bool isBlank(std::string_view line) {
  for (const char c : line)
    if (!isSpace(c)) return false;
  return true;
}

std::string_view withoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

LineRunner::LineRunner(TCalcSystem& system, std::FILE* out, std::FILE* errors)
    : system(system), out(out), errors(errors) {}

bool LineRunner::run(const std::string& line, long number) {
  if (isBlank(line)) return true;
  int status = 0;
  if (isAssignment(line)) {
    status = system.Execute(line.c_str());
  } else {
    char text[BufferSize];
    status = system.GetWriteFormat(line.c_str(), text);
    if (status == 0) std::fprintf(out, "%s\n", text);
  }
  if (status != 0) report(number, status);
  return status == 0;
}

void LineRunner::report(long number, int status) {
  failed = true;
  const char* message = EvalonMessage(status);
  std::fflush(out); // keeps results and failures in order when both go to one place
  std::fprintf(errors, "evalon: line %ld: %s (code %d)\n", number,
               message ? message : "unknown status", status);
}
