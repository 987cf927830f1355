// Runs lines of the formula language on one engine object: an assignment through
// Execute (slot 10), anything else as a write item through GetWriteFormat (slot 12).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class TCalcSystem;

// True when the line is an assignment: its first "=" stands alone, outside double quotes
// and not part of "==", "!=", "<=" or ">=". (Execute splits a statement at its first "="
// wherever it stands, so a line whose first "=" is any other is never a statement.)
bool isAssignment(std::string_view line);

// True when the line holds nothing but the engine's white space.
bool isBlank(std::string_view line);

// The line without its line feed and one carriage return before it.
std::string_view withoutLineEnd(std::string_view line);

class LineRunner {
public:
  // Results go to out, failures to errors as "evalon: line N: MESSAGE (code C)".
  LineRunner(TCalcSystem& system, std::FILE* out, std::FILE* errors);

  // Runs one line (without its line end); a blank line is skipped. Returns false when
  // the line failed; the failure has been reported.
  bool run(const std::string& line, long number);

  // Whether any line run so far failed.
  bool anyFailed() const { return failed; }

private:
  void report(long number, int status);

  TCalcSystem& system;
  std::FILE* out;
  std::FILE* errors;
  bool failed = false;
};
