// The formula cache against the scan at every call: two systems with the same variables, one
// with the cache and one without, run the same script of evaluations and variable changes.
// Any difference in a status, in the bits of a value, in a result text, in the float flag or
// in the variables left behind aborts.
//
// The input is a script of lines. The first byte of a line chooses what it does with the rest:
//   'd', 'l', 's'  SetFloatValue, SetLongValue, SetStringValue: the byte after the letter
//                  chooses the value, the rest is the reference
//   'r'            resetVarSystem (every variable goes)
//   'a'            automatic creation off if it was on, on if it was off
//   'x'            Execute the rest as a statement
//   'e'            the rest is a formula: evaluated in every way, and kept with the last few
//   anything else  the rest is a formula, evaluated in one way (the letter's code modulo 7)
//                  and kept
// After each change the last three formulas are evaluated again in three ways, so that cached
// forms meet the changed variables. Ten lines at most are run.
#include "FuzzSupport.h"

#include "TVarSystem.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Pair {
  Pair()
      : cachedStore(new TVarSystem), scannedStore(new TVarSystem), cached(cachedStore),
        scanned(scannedStore) {
    scannedStore->setFormulaCaching(false);
    fuzz::presetVariables(cached);
    fuzz::presetVariables(scanned);
  }
  TVarSystem* cachedStore;
  TVarSystem* scannedStore;
  TCalcSystem cached;
  TCalcSystem scanned;
};

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// One evaluation in one of seven ways (the four entry points; the first three again with the
// float flag on), on both systems.
void evaluateBoth(Pair& p, const char* formula, int way) {
  std::uint32_t errCached = 12345, errScanned = 54321;
  p.cached.SetFloatFlag(way >= 4);
  p.scanned.SetFloatFlag(way >= 4);
  switch (way % 4) {
  case 0: {
    const std::int32_t a = p.cached.calcLongFormula(formula, errCached);
    const std::int32_t b = p.scanned.calcLongFormula(formula, errScanned);
    fuzz::require(a == b);
    break;
  }
  case 1:
  case 2: {
    const bool as = way % 4 == 2;
    const double a = as ? p.cached.calcDoubleFormulaAs(formula, errCached)
                        : p.cached.calcDoubleFormula(formula, errCached);
    const double b = as ? p.scanned.calcDoubleFormulaAs(formula, errScanned)
                        : p.scanned.calcDoubleFormula(formula, errScanned);
    fuzz::require(bitsOf(a) == bitsOf(b));
    break;
  }
  default: {
    fuzz::GuardedBuffer a, b;
    a.fillWithPattern();
    b.fillWithPattern();
    p.cached.calcStringFormula(a.data(), formula, errCached);
    p.scanned.calcStringFormula(b.data(), formula, errScanned);
    fuzz::require(a.guardsIntact() && b.guardsIntact());
    fuzz::require(std::memcmp(a.data(), b.data(), fuzz::GuardedBuffer::Size) == 0);
  }
  }
  fuzz::requireStatus(errCached);
  fuzz::require(errCached == errScanned);
  fuzz::require(p.cached.GetFloatFlag() == p.scanned.GetFloatFlag());
}

// The same variables, in the same order, of the same kinds and values.
void requireSameVariables(const TVarSystem& a, const TVarSystem& b) {
  fuzz::require(a.size() == b.size());
  for (int n = 0; n < a.size(); ++n) {
    const variable& u = a.at(n);
    const variable& v = b.at(n);
    fuzz::require(u == v && u.who() == v.who());
    double du = 0.0, dv = 0.0;
    u.getValue(du);
    v.getValue(dv);
    fuzz::require(bitsOf(du) == bitsOf(dv));
    char tu[256] = "", tv[256] = "";
    u.getValue(tu);
    v.getValue(tv);
    fuzz::require(std::strcmp(tu, tv) == 0);
  }
  fuzz::require(a.GetAutoCreate() == b.GetAutoCreate());
}

void evaluateEveryWay(Pair& p, const std::string& formula) {
  for (int way = 0; way < 7; ++way)
    evaluateBoth(p, formula.c_str(), way);
  requireSameVariables(*p.cachedStore, *p.scannedStore);
}

// After a change: long mode through the machine, double mode through the double program,
// and double mode asked for with the flag on.
void evaluateAgain(Pair& p, const std::string& formula) {
  for (int way : {0, 2, 5})
    evaluateBoth(p, formula.c_str(), way);
  requireSameVariables(*p.cachedStore, *p.scannedStore);
}

constexpr double values[] = {0.0,
                             -0.0,
                             1.0,
                             -1.0,
                             0.5,
                             -2.25,
                             3.0,
                             1e300,
                             -1e-300,
                             2147483648.0,
                             -2147483649.0,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             90.0,
                             1e15,
                             7.0};
constexpr std::size_t valueCount = sizeof values / sizeof values[0];

// The most formulas kept and evaluated again after each change: fewer than the cache holds,
// so that they stay cached.
constexpr std::size_t Kept = 3;
// The most lines of a script that are run.
constexpr int Lines = 10;

// A change of variables on both systems, with the same status.
void change(Pair& p, char what, const std::string& rest) {
  const double value =
      rest.empty() ? 0.0 : values[static_cast<unsigned char>(rest[0]) % valueCount];
  const char* ref = rest.empty() ? "" : rest.c_str() + 1;
  switch (what) {
  case 'd':
    fuzz::require(p.cached.SetFloatValue(ref, value) == p.scanned.SetFloatValue(ref, value));
    break;
  case 'l': {
    const auto n =
        static_cast<std::int32_t>(std::isfinite(value) && std::abs(value) < 1e9 ? value : 0);
    fuzz::require(p.cached.SetLongValue(ref, n) == p.scanned.SetLongValue(ref, n));
    break;
  }
  case 's':
    fuzz::require(p.cached.SetStringValue(ref, "text") == p.scanned.SetStringValue(ref, "text"));
    break;
  case 'r':
    p.cachedStore->resetVarSystem();
    p.scannedStore->resetVarSystem();
    break;
  case 'a':
    p.cached.SetAutoCreate(!p.cached.GetAutoCreate());
    p.scanned.SetAutoCreate(!p.scanned.GetAutoCreate());
    break;
  default: // 'x'
    fuzz::require(p.cached.Execute(rest.c_str()) == p.scanned.Execute(rest.c_str()));
    break;
  }
  requireSameVariables(*p.cachedStore, *p.scannedStore);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto text = fuzz::terminated(data, size);
  Pair p;
  std::vector<std::string> kept;
  const char* line = text.data();
  for (int lines = 0; *line != '\0' && lines < Lines; ++lines) {
    const char* end = std::strchr(line, '\n');
    const std::size_t length = end ? static_cast<std::size_t>(end - line) : std::strlen(line);
    const std::string rest = length > 0 ? std::string(line + 1, length - 1) : std::string();
    const char what = length > 0 ? line[0] : 'e';
    if (std::strchr("dlsrax", what) != nullptr && what != '\0') {
      change(p, what, rest);
      for (const std::string& formula : kept)
        evaluateAgain(p, formula);
    } else {
      if (what == 'e') {
        evaluateEveryWay(p, rest);
      } else {
        evaluateBoth(p, rest.c_str(), static_cast<unsigned char>(what) % 7);
        requireSameVariables(*p.cachedStore, *p.scannedStore);
      }
      if (kept.size() == Kept) kept.erase(kept.begin());
      kept.push_back(rest);
    }
    line = end ? end + 1 : line + length;
  }
  return 0;
}
