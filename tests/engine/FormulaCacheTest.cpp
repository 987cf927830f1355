// The formula cache against the scan at every call: two systems, one with the cache and one
// without, get the same variable changes and the same evaluations, and must answer every one
// with the same status, the same bits and the same variables.
#include "EvalonStatus.h"
#include "TCalcSystem.h"
#include "TVarSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// A system and its store, with or without the cache.
struct System {
  explicit System(bool caching) : store(new TVarSystem), calc(store) {
    store->setFormulaCaching(caching);
  }
  TVarSystem* store;
  TCalcSystem calc;
};

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Every way to evaluate: the four entry points, and the first three with the flag on.
std::string evaluate(TCalcSystem& s, int way, const char* formula) {
  std::uint32_t err = 12345;
  std::string value;
  s.SetFloatFlag(way >= 4);
  switch (way % 4) {
  case 0:
    value = std::to_string(s.calcLongFormula(formula, err));
    break;
  case 1:
    value = std::to_string(bitsOf(s.calcDoubleFormula(formula, err)));
    break;
  case 2:
    value = std::to_string(bitsOf(s.calcDoubleFormulaAs(formula, err)));
    break;
  default: {
    char buffer[256] = "untouched";
    s.calcStringFormula(buffer, formula, err);
    value = buffer;
  }
  }
  return std::to_string(err) + ":" + value + (s.GetFloatFlag() ? " on" : " off");
}

// Every variable: identity, kind and value bits.
std::string variablesOf(const TVarSystem& store) {
  std::string all;
  for (int n = 0; n < store.size(); ++n) {
    const variable& v = store.at(n);
    double d = 0.0;
    char text[256] = "";
    v.getValue(d);
    v.getValue(text);
    all += v.getName() + "[" + std::to_string(v.getFirst()) + "][" + std::to_string(v.getSecond()) +
           "]" + v.who() + std::to_string(bitsOf(d)) + text + ";";
  }
  return all;
}

using Change = std::function<void(TCalcSystem&, TVarSystem&)>;

const std::vector<Change> changes = {
    [](TCalcSystem&, TVarSystem&) {},
    [](TCalcSystem& s, TVarSystem&) {
      s.SetFloatValue("x", 0.5);
      s.SetLongValue("n", 3);
      s.SetStringValue("s$", "ab");
    },
    [](TCalcSystem& s, TVarSystem&) { s.SetFloatValue("x", -2.25); },
    [](TCalcSystem&, TVarSystem& v) { v.resetVarSystem(); },
    [](TCalcSystem& s, TVarSystem&) { s.SetStringValue("x", "text"); }, // x becomes a text
    [](TCalcSystem& s, TVarSystem& v) {
      v.resetVarSystem();
      s.SetLongValue("x", 7); // and now a long
    },
    [](TCalcSystem& s, TVarSystem&) { s.SetAutoCreate(false); },
    [](TCalcSystem&, TVarSystem& v) { v.resetVarSystem(); },
    [](TCalcSystem& s, TVarSystem&) {
      s.SetAutoCreate(true);
      s.SetLongValue("a[1]", 2);
      s.SetFloatValue("a[2]", 1.5);
      s.SetLongValue("i", 1);
      s.SetFloatValue("y#", 4.0);
    },
    [](TCalcSystem& s, TVarSystem&) { s.Execute("i = i + 1"); },
    [](TCalcSystem& s, TVarSystem&) { s.SetFloatValue("x", 0.0); },
    [](TCalcSystem& s, TVarSystem& v) {
      v.resetVarSystem();
      s.SetFloatValue("x", 1e300);
      s.SetStringValue("y", "yy");
    },
};

const std::vector<std::string> formulas = {
    "x", "sin(x)*2^3", "x*x*x-2*x+1", "sqrt(abs(x))+cos(x)/(1+x*x)", "exp(-x*x/2)*sin(10*x)",
    "log(abs(x)+1)*atan(x)-tan(x/4)", "1+2*3", "(1+2)*3", "2^3^2", "-2^2", "2* -3", "2*-3", "7/2",
    "10%3", "2147483647+1", "2147483648", "!0", "!1 == 0", "(x > 0) & (x < 1)", "1 & !0", "-sin(x)",
    "1 + -sin(x)", "sin sin x", "sin x^2", "int(3)", "int(x)", "ceil(x)+floor(x)", "\"ab\"+\"cd\"",
    "s$+\"t\"", "-s$", "(1+2", "2*(3", "1+2)", "()", "1 2", "+", "1+", "", "   ", "3,4", "2 = 1",
    "log(0)", "log(x)", "1/0", "1/x", "x/0", "Sin(1)", "y + 1/0 + z", "q*2", "n+x#", "y#*x",
    "a[1]+a[2]", "a[i]", "a[i+1]*x", "a[a[1]]", "a[0]", "a[1][2][3]", "a[1", "x]", "\"open",
    "asind(x)+acosd(0.5)+atand(x)", "sind(x)*cosd(x)/tand(45)", "log10(x)+log2(x)", "asin(x)",
    "1.5.5+x", "123456789012345678*x", "x^0.5", "(((((((((((((((((((((x)))))))))))))))))))))",
    "x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x+x", std::string(300, 'v'),
    std::string(70 * 2, '+'), "\"" + std::string(260, 'z') + "\"", "s$<\"b\"", "x==x", "-(-x)",
    "abs(-x)*-1", "exp(1000*x)", "0-x", "x-0*x",
    // every step of a double program: each operation on two values, on a variable and on a
    // literal, and literals folded
    "x-1", "x*3+x/2-x^2", "(x+1)/(x-1)*(x-1)^(x+1)", "(1+x)-(2*x)", "x/x-x^x", "x+1-2*3/4^5",
    "-(2)*x+sqrt(4)-sqrt(-4)*x", "x/(1-1)"};

std::string longFormula() {
  std::string f = "x";
  while (f.size() < 2000)
    f += "+1";
  return f;
}

// The formulas in groups small enough to stay cached through all the changes, and then all
// at once, so that entries are also replaced between changes.
TEST(FormulaCache, GivesWhatTheScanGivesAfterEveryChangeOfVariables) {
  std::vector<std::string> all = formulas;
  all.push_back(longFormula());
  std::vector<std::vector<std::string>> groups;
  for (std::size_t n = 0; n < all.size(); n += 5)
    groups.emplace_back(all.begin() + n, all.begin() + std::min(all.size(), n + 5));
  groups.push_back(all);
  for (const auto& group : groups) {
    System cached(true), scanned(false);
    for (std::size_t c = 0; c < changes.size(); ++c) {
      changes[c](cached.calc, *cached.store);
      changes[c](scanned.calc, *scanned.store);
      for (const std::string& f : group)
        for (int way = 0; way < 7; ++way)
          for (int again = 0; again < 2; ++again) {
            ASSERT_EQ(evaluate(cached.calc, way, f.c_str()), evaluate(scanned.calc, way, f.c_str()))
                << "change " << c << ", way " << way << ": " << f;
            ASSERT_EQ(variablesOf(*cached.store), variablesOf(*scanned.store))
                << "change " << c << ", way " << way << ": " << f;
          }
    }
    EXPECT_EQ(scanned.store->formulaCache().size(), 0);
    EXPECT_GT(cached.store->formulaCache().size(), 0);
  }
}

double doubleAs(TCalcSystem& s, const char* formula, std::uint32_t& err) {
  return s.calcDoubleFormulaAs(formula, err);
}

TEST(FormulaCache, ReadsTheVariableThatExistsNowAfterAReset) {
  System sys(true);
  std::uint32_t err = 0;
  sys.calc.SetFloatValue("x", 1.5);
  EXPECT_EQ(doubleAs(sys.calc, "x+1", err), 2.5);
  sys.store->resetVarSystem();
  sys.calc.SetStringValue("x", "now a text");
  doubleAs(sys.calc, "x+1", err);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::TypeMismatch));
  sys.store->resetVarSystem();
  sys.calc.SetLongValue("x", 3);
  EXPECT_EQ(doubleAs(sys.calc, "x+1", err), 4.0);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::Ok));
}

TEST(FormulaCache, CreatesVariablesAsTheScanDoesAndSeesThemLater) {
  System sys(true);
  std::uint32_t err = 0;
  EXPECT_EQ(doubleAs(sys.calc, "y*2", err), 0.0); // y created as a double
  sys.calc.SetFloatValue("y", 3.0);
  EXPECT_EQ(doubleAs(sys.calc, "y*2", err), 6.0);
  sys.calc.SetAutoCreate(false);
  doubleAs(sys.calc, "y*z", err);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::NoVariable));
  sys.calc.SetAutoCreate(true);
  EXPECT_EQ(doubleAs(sys.calc, "y*z", err), 0.0);
  EXPECT_EQ(sys.store->size(), 2);
  doubleAs(sys.calc, "w + 1/0 + v", err); // the error stops before v is read
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::DivisionByZero));
  EXPECT_NE(sys.store->search("w", 0, 0), TVarSystem::NotFound);
  EXPECT_EQ(sys.store->search("v", 0, 0), TVarSystem::NotFound);
}

TEST(FormulaCache, OneEntryServesBothModesAndEverySubscript) {
  System sys(true);
  std::uint32_t err = 0;
  EXPECT_EQ(sys.calc.calcLongFormula("7/2", err), 3);
  EXPECT_EQ(doubleAs(sys.calc, "7/2", err), 3.5);
  sys.calc.SetLongValue("a[1]", 10);
  sys.calc.SetLongValue("a[2]", 20);
  for (int i = 1; i <= 2; ++i) {
    sys.calc.SetLongValue("i", i);
    EXPECT_EQ(doubleAs(sys.calc, "a[i]*x", err), 0.0);
    EXPECT_EQ(sys.calc.calcLongFormula("a[i]", err), 10 * i);
  }
  EXPECT_EQ(sys.store->formulaCache().size(), 3);
}

TEST(FormulaCache, KeepsScanFailuresAndLeavesLongFormulasOut) {
  System sys(true);
  std::uint32_t err = 0;
  for (int again = 0; again < 2; ++again) {
    doubleAs(sys.calc, "\"open", err);
    EXPECT_EQ(err, static_cast<std::uint32_t>(ev::UnclosedString));
  }
  EXPECT_EQ(sys.store->formulaCache().size(), 1);
  doubleAs(sys.calc, longFormula().c_str(), err);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::TextTooLong)); // more than 128 tokens
  EXPECT_EQ(sys.store->formulaCache().size(), 1);
  for (int n = 0; n < 50; ++n)
    doubleAs(sys.calc, ("x+" + std::to_string(n)).c_str(), err);
  EXPECT_EQ(sys.store->formulaCache().size(), FormulaCache::Entries);
}

TEST(FormulaCache, LiteralsWorkedOutOnceKeepTheirErrorsAndTheOrderOfReads) {
  System sys(true);
  std::uint32_t err = 0;
  for (int again = 0; again < 2; ++again) {
    doubleAs(sys.calc, "sqrt(-4)*y", err); // refused before y is read
    EXPECT_EQ(err, static_cast<std::uint32_t>(ev::DomainError));
    doubleAs(sys.calc, "y*sqrt(-4)", err); // y read first
    EXPECT_EQ(err, static_cast<std::uint32_t>(ev::DomainError));
    sys.calc.SetFloatValue("x", 0.5);
    EXPECT_EQ(doubleAs(sys.calc, "-2^2*x", err), 2.0);
  }
  EXPECT_EQ(sys.store->search("y", 0, 0), 1);
  sys.store->resetVarSystem();
  doubleAs(sys.calc, "1/0*y", err);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::DivisionByZero));
  EXPECT_EQ(sys.store->size(), 0);
}

// A subscript is evaluated while the formula around it runs from its entry, so the
// subscript's own formula is scanned, not cached; the switch turns the cache off.
TEST(FormulaCache, SubscriptsAreNotCachedAndTheSwitchTurnsTheCacheOff) {
  System sys(true);
  std::uint32_t err = 0;
  sys.calc.SetLongValue("a[1]", 1);
  for (int again = 0; again < 3; ++again)
    EXPECT_EQ(sys.calc.calcLongFormula("a[a[a[1]]]", err), 1);
  EXPECT_EQ(sys.store->formulaCache().size(), 1);
  sys.store->setFormulaCaching(false);
  EXPECT_EQ(sys.store->formulaCache().size(), 0);
  EXPECT_EQ(sys.calc.calcLongFormula("a[1]+1", err), 2);
  EXPECT_EQ(sys.store->formulaCache().size(), 0);
}

TEST(FormulaCache, AChangeOfGenerationOnlyWhereTheSetOfVariablesChanges) {
  TVarSystem store;
  const std::uint64_t start = store.generation();
  store.SetValue("x", 1.0, 0, 0); // created
  EXPECT_EQ(store.generation(), start + 1);
  store.SetValue("x", 2.0, 0, 0);
  store.SetValue("x", "refused", 0, 0);
  store.SetAutoCreate(false);
  store.SetValue("y", 2.0, 0, 0); // refused: not created
  double out = 0.0;
  store.GetValue("x", out, 0, 0);
  EXPECT_EQ(store.generation(), start + 1);
  store.SetAutoCreate(true);
  store.GetValue("y", out, 0, 0); // created by a read
  EXPECT_EQ(store.generation(), start + 2);
  store.resetVarSystem();
  EXPECT_EQ(store.generation(), start + 3);
}

} // namespace
