// The dynamic symbols that libEvalon.so defines are exactly its fourteen exports, read
// with nm as a client's linker would see them.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Symbol {
  char type;
  std::string name;
};

// The defined dynamic symbols of the library ("nm -D --defined-only").
std::vector<Symbol> definedDynamicSymbols(std::string& failure) {
  const std::string command =
      std::string("'") + EVALON_NM + "' -D --defined-only '" + EVALON_LIBRARY + "' 2>&1";
  std::vector<Symbol> symbols;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    failure = "cannot run " + command;
    return symbols;
  }
  std::string output;
  char buffer[4096];
  while (const std::size_t length = std::fread(buffer, 1, sizeof buffer, pipe))
    output.append(buffer, length);
  if (const int status = pclose(pipe); status != 0) {
    failure = command + " failed:\n" + output;
    return symbols;
  }
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    // "address type name"; an absolute symbol may come without an address.
    std::istringstream fields(line);
    std::string first, second, third;
    fields >> first >> second >> third;
    if (third.empty())
      symbols.push_back({second.empty() ? '?' : first[0], second});
    else
      symbols.push_back({second[0], third});
  }
  return symbols;
}

// Symbols that the linker itself may define in any shared library; none is a function of
// the library's interface.
bool isLinkerSymbol(const std::string& name) {
  static const std::set<std::string> names = {"_init", "_fini", "__bss_start", "_edata", "_end"};
  return names.count(name) != 0;
}

TEST(ExportedSymbols, AreExactlyTheFourteenFunctions) {
  std::string failure;
  const std::vector<Symbol> symbols = definedDynamicSymbols(failure);
  ASSERT_EQ(failure, "");

  std::set<std::string> exported;
  for (const Symbol& symbol : symbols) {
    if (isLinkerSymbol(symbol.name)) continue;
    exported.insert(symbol.name);
    EXPECT_EQ(symbol.type, 'T') << symbol.name << " is not a function of the text section";
  }
  const std::set<std::string> expected = {
      "InitCalcSystem",           "DeleteCalcSystem", "InitCalcSystemInternal",
      "DeleteCalcSystemInternal", "iCalcLongFormula", "iCalcDoubleFormula",
      "iCalcStringFormula",       "iGetLongValue",    "iGetDoubleValue",
      "iGetStringValue",          "iSetLongValue",    "iSetDoubleValue",
      "iSetStringValue",          "EvalonMessage",
  };
  EXPECT_EQ(exported, expected);
}

} // namespace
