// libEvalon.so as the application uses it: loaded with dlopen by its path, the exports
// looked up by name with dlsym, the objects' operations called through their table of
// virtual operations. This program links nothing of the engine: only the public headers
// (for the declarations) and the dynamic loader.
#include "EvalonLibrary.h"
#include "EvalonStatus.h"
#include "TCalcSystem.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

const char* const libraryPath = EVALON_LIBRARY; // the built library, from CMake

constexpr std::uint32_t NoSystemErr = 0xFFFFFFFFu; // -1 as an unsigned status

// The library, loaded for one test and unloaded after it, with its exports found by
// name. The types come from EvalonLibrary.h, so they are the exports' own.
class Library {
  struct Handle {
    void* pointer = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
    Handle() {
      if (!pointer) throw std::runtime_error(dlerror());
    }
    ~Handle() { dlclose(pointer); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
  };
  const Handle handle; // first, so the lookups below find it open

  template <class Function> Function* find(const char* name) const {
    void* symbol = dlsym(handle.pointer, name);
    if (!symbol) throw std::runtime_error(std::string("no export ") + name);
    return reinterpret_cast<Function*>(symbol);
  }

public:
#define EVALON_EXPORT(name) decltype(::name)* const name = find<decltype(::name)>(#name)
  EVALON_EXPORT(InitCalcSystem);
  EVALON_EXPORT(DeleteCalcSystem);
  EVALON_EXPORT(InitCalcSystemInternal);
  EVALON_EXPORT(DeleteCalcSystemInternal);
  EVALON_EXPORT(iCalcLongFormula);
  EVALON_EXPORT(iCalcDoubleFormula);
  EVALON_EXPORT(iCalcStringFormula);
  EVALON_EXPORT(iGetLongValue);
  EVALON_EXPORT(iGetDoubleValue);
  EVALON_EXPORT(iGetStringValue);
  EVALON_EXPORT(iSetLongValue);
  EVALON_EXPORT(iSetDoubleValue);
  EVALON_EXPORT(iSetStringValue);
  EVALON_EXPORT(EvalonMessage);
#undef EVALON_EXPORT
};

// Every i... function answers as it does without a library instance.
void expectNoInstance(const Library& lib) {
  std::uint32_t err = 0;
  EXPECT_EQ(lib.iCalcLongFormula("1+2", &err), 0);
  EXPECT_EQ(err, NoSystemErr);
  err = 0;
  EXPECT_EQ(lib.iCalcDoubleFormula("1.5", &err), 0.0);
  EXPECT_EQ(err, NoSystemErr);
  err = 0;
  char result[256] = "untouched";
  lib.iCalcStringFormula(result, "\"ab\"", &err);
  EXPECT_EQ(err, NoSystemErr);
  EXPECT_STREQ(result, "");

  int status = 0;
  EXPECT_EQ(lib.iGetLongValue("x", &status), 0);
  EXPECT_EQ(status, -1);
  status = 0;
  EXPECT_EQ(lib.iGetDoubleValue("x", &status), 0.0);
  EXPECT_EQ(status, -1);
  status = 0;
  char value[256] = "untouched";
  lib.iGetStringValue(value, "s$", &status);
  EXPECT_EQ(status, -1);
  EXPECT_STREQ(value, "");

  EXPECT_EQ(lib.iSetLongValue("x", 1), -1);
  EXPECT_EQ(lib.iSetDoubleValue("x", 1.5), -1);
  EXPECT_EQ(lib.iSetStringValue("s$", "text"), -1);
}

TEST(LibraryLoad, CreatesNothingAndUnloadsCleanly) {
  {
    Library lib;
    expectNoInstance(lib); // no instance before the first InitCalcSystemInternal
  }
  // Nothing kept the library loaded, so the next load starts afresh.
  EXPECT_EQ(dlopen(libraryPath, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST(ObjectStyle, CreateUseAndRelease) {
  Library lib;
  TCalcSystem* s = lib.InitCalcSystem();
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->GetAutoCreate());
  EXPECT_FALSE(s->GetFloatFlag());

  // Slot 8, then slot 2, then slot 4.
  EXPECT_EQ(s->SetFloatValue("x", 1.5), ev::Ok);
  std::uint32_t err = 99;
  EXPECT_EQ(s->calcDoubleFormulaAs("x*2", err), 3.0);
  EXPECT_EQ(err, 0u);
  std::int32_t n = 0;
  EXPECT_EQ(s->GetLongValue("x", n), ev::Ok);
  EXPECT_EQ(n, 1);

  // Slots 10 and 12.
  EXPECT_EQ(s->Execute("n = 7/2"), ev::Ok);
  char text[256];
  EXPECT_EQ(s->GetWriteFormat("n:5", text), ev::Ok);
  EXPECT_STREQ(text, "    3");
  err = 99;
  EXPECT_EQ(s->calcLongFormula("1/0", err), 0);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::DivisionByZero));
  EXPECT_STREQ(lib.EvalonMessage(static_cast<int>(err)), "０で割りました");

  lib.DeleteCalcSystem(s);
  lib.DeleteCalcSystem(nullptr); // ignored
}

TEST(ObjectStyle, ObjectsAndTheLibraryInstanceShareNoVariables) {
  Library lib;
  TCalcSystem* a = lib.InitCalcSystem();
  TCalcSystem* b = lib.InitCalcSystem();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(a, b);
  ASSERT_EQ(lib.InitCalcSystemInternal(), 0);

  EXPECT_EQ(a->SetLongValue("v", 1), ev::Ok);
  EXPECT_EQ(b->SetLongValue("v", 2), ev::Ok);
  EXPECT_EQ(lib.iSetLongValue("v", 3), ev::Ok);
  EXPECT_EQ(a->SetStringValue("only_a$", "a"), ev::Ok);

  std::int32_t v = 0;
  EXPECT_EQ(a->GetLongValue("v", v), ev::Ok);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(b->GetLongValue("v", v), ev::Ok);
  EXPECT_EQ(v, 2);
  int status = 99;
  EXPECT_EQ(lib.iGetLongValue("v", &status), 3);
  EXPECT_EQ(status, 0);

  // A name set only in a is missing elsewhere.
  b->SetAutoCreate(false);
  char text[256] = "untouched";
  EXPECT_EQ(b->GetStringValue("only_a$", text), ev::NoVariable);
  EXPECT_STREQ(text, "untouched");
  lib.iGetStringValue(text, "only_a$", &status);
  EXPECT_EQ(status, 0);
  EXPECT_STREQ(text, ""); // created afresh in the instance by the read

  lib.DeleteCalcSystem(a);
  lib.DeleteCalcSystem(b);
  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0);
}

TEST(InstanceStyle, ForwardsToTheLibraryInstance) {
  Library lib;
  ASSERT_EQ(lib.InitCalcSystemInternal(), 0);

  // iCalcDoubleFormula is calcDoubleFormula (slot 1), which evaluates in long mode: a
  // double is read through a "#" name, while a name without a sigil is read as a long
  // (2.5 truncated to 2), so x*2 gives 4.0 there; 5.0 comes only from
  // calcDoubleFormulaAs (slot 2, not exported).
  EXPECT_EQ(lib.iSetDoubleValue("x#", 2.5), 0);
  std::uint32_t err = 99;
  EXPECT_EQ(lib.iCalcDoubleFormula("x#*2", &err), 5.0);
  EXPECT_EQ(err, 0u);
  EXPECT_EQ(lib.iSetDoubleValue("x", 2.5), 0);
  err = 99;
  EXPECT_EQ(lib.iCalcDoubleFormula("x*2", &err), 4.0);
  EXPECT_EQ(err, 0u);
  err = 99;
  EXPECT_EQ(lib.iCalcDoubleFormula("7.0/2", &err), 3.5);
  EXPECT_EQ(err, 0u);
  EXPECT_EQ(lib.iCalcLongFormula("1+2*3", &err), 7);
  EXPECT_EQ(err, 0u);
  EXPECT_EQ(lib.iCalcLongFormula("2147483647+1", &err), 0);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::OutOfLongRange));

  char result[256] = "untouched";
  lib.iCalcStringFormula(result, "\"ab\"+\"cd\"", &err);
  EXPECT_EQ(err, 0u);
  EXPECT_STREQ(result, "abcd");

  EXPECT_EQ(lib.iSetLongValue("a[1+1]", 4), 0);
  int status = 99;
  EXPECT_EQ(lib.iGetLongValue("a[2]", &status), 4);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(lib.iGetLongValue("a[0]", &status), 0);
  EXPECT_EQ(status, ev::SubscriptRange);
  EXPECT_EQ(lib.iGetDoubleValue("x", &status), 2.5);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(lib.iGetLongValue("x", &status), 2);
  EXPECT_EQ(status, 0);

  // The text functions take the output buffer first, the reference second.
  EXPECT_EQ(lib.iSetStringValue("s$", "hello"), 0);
  char value[256] = "untouched";
  lib.iGetStringValue(value, "s$", &status);
  EXPECT_EQ(status, 0);
  EXPECT_STREQ(value, "hello");

  // A number that comes with a non-zero status is 0.
  EXPECT_EQ(lib.iGetLongValue("s$", &status), 0);
  EXPECT_EQ(status, ev::TypeMismatch);
  EXPECT_EQ(lib.iGetDoubleValue("s$", &status), 0.0);
  EXPECT_EQ(status, ev::TypeMismatch);
  EXPECT_EQ(lib.iSetLongValue("s$", 1), ev::TypeMismatch);

  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0);
}

TEST(InstanceStyle, AfterDeleteEverythingIsRefusedAgain) {
  Library lib;
  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0); // before any instance
  ASSERT_EQ(lib.InitCalcSystemInternal(), 0);
  EXPECT_EQ(lib.iSetLongValue("x", 1), 0);
  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0);
  expectNoInstance(lib);
  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0); // a second delete
  expectNoInstance(lib);

  // A new instance starts with an empty store.
  ASSERT_EQ(lib.InitCalcSystemInternal(), 0);
  int status = 99;
  EXPECT_EQ(lib.iGetLongValue("x", &status), 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0);
}

TEST(InstanceStyle, ASecondInitKeepsTheInstanceAndItsVariables) {
  Library lib;
  ASSERT_EQ(lib.InitCalcSystemInternal(), 0);
  EXPECT_EQ(lib.iSetLongValue("kept", 5), 0);
  EXPECT_EQ(lib.InitCalcSystemInternal(), 0);
  int status = 99;
  EXPECT_EQ(lib.iGetLongValue("kept", &status), 5);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0);
}

TEST(InstanceStyle, NullPointersAreAnsweredWithStatuses) {
  Library lib;
  ASSERT_EQ(lib.InitCalcSystemInternal(), 0);
  std::uint32_t err = 99;
  int status = 99;
  char buffer[256] = "untouched";

  EXPECT_EQ(lib.iCalcLongFormula(nullptr, &err), 0);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::EmptyFormula));
  err = 99;
  EXPECT_EQ(lib.iCalcDoubleFormula(nullptr, &err), 0.0);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::EmptyFormula));
  err = 99;
  lib.iCalcStringFormula(buffer, nullptr, &err);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::EmptyFormula));
  EXPECT_STREQ(buffer, "");
  err = 99;
  lib.iCalcStringFormula(nullptr, "\"ab\"", &err);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::TextTooLong));

  EXPECT_EQ(lib.iGetLongValue(nullptr, &status), 0);
  EXPECT_EQ(status, ev::BadName);
  status = 99;
  EXPECT_EQ(lib.iGetDoubleValue(nullptr, &status), 0.0);
  EXPECT_EQ(status, ev::BadName);
  status = 99;
  std::strcpy(buffer, "untouched");
  lib.iGetStringValue(buffer, nullptr, &status);
  EXPECT_EQ(status, ev::BadName);
  EXPECT_STREQ(buffer, "");
  status = 99;
  lib.iGetStringValue(nullptr, "s$", &status);
  EXPECT_EQ(status, ev::TextTooLong);

  EXPECT_EQ(lib.iSetLongValue(nullptr, 1), ev::BadName);
  EXPECT_EQ(lib.iSetDoubleValue(nullptr, 1.5), ev::BadName);
  EXPECT_EQ(lib.iSetStringValue(nullptr, "text"), ev::BadName);
  EXPECT_EQ(lib.iSetStringValue("s$", nullptr), ev::MissingOperand);

  // A null err or status cannot be written: nothing happens, the number is 0 and the
  // output buffer is emptied.
  EXPECT_EQ(lib.iSetLongValue("x", 7), 0);
  EXPECT_EQ(lib.iCalcLongFormula("x", nullptr), 0);
  EXPECT_EQ(lib.iCalcDoubleFormula("x", nullptr), 0.0);
  std::strcpy(buffer, "untouched");
  lib.iCalcStringFormula(buffer, "\"ab\"", nullptr);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(lib.iGetLongValue("x", nullptr), 0);
  EXPECT_EQ(lib.iGetDoubleValue("x", nullptr), 0.0);
  std::strcpy(buffer, "untouched");
  lib.iGetStringValue(buffer, "s$", nullptr);
  EXPECT_STREQ(buffer, "");
  lib.iCalcStringFormula(nullptr, nullptr, nullptr);
  lib.iGetStringValue(nullptr, nullptr, nullptr);

  // Nothing of that changed the instance.
  EXPECT_EQ(lib.iGetLongValue("x", &status), 7);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(lib.DeleteCalcSystemInternal(), 0);

  // Without an instance, -1 comes first.
  EXPECT_EQ(lib.iCalcLongFormula(nullptr, &err), 0);
  EXPECT_EQ(err, NoSystemErr);
  EXPECT_EQ(lib.iSetStringValue(nullptr, nullptr), -1);
  lib.iGetStringValue(nullptr, nullptr, &status);
  EXPECT_EQ(status, -1);
}

TEST(Messages, EveryCodeHasItsTextAndNoOtherCodeHasOne) {
  Library lib;
  const char* const expected[] = {
      "No Error",
      "変数の型が違います",
      "変数名が不正です",
      "変数が見つかりません",
      "文字列が長すぎます",
      "結果が整数の範囲を超えました",
      "０で割りました",
      "未定義の演算子があります",
      "演算子が見つかりません",
      "数値がありません",
      "式がありません",
      "式中に不正な文字があります",
      "配列のインデックスの値が範囲を超えました",
      "配列の次元が制限を越えています",
      "配列のインデックスを示す [ がありません",
      "配列のインデックスを示す ] がありません",
      "文字列が閉じていません",
      "文字列の長さが長すぎます",
      "= が見つかりません",
      "結果を代入すべき変数が見つかりません",
      "関数の値エラー",
  };
  static_assert(std::size(expected) == ev::LastStatus + 1);
  for (int code = 0; code <= ev::LastStatus; ++code) {
    SCOPED_TRACE(code);
    ASSERT_NE(lib.EvalonMessage(code), nullptr);
    EXPECT_STREQ(lib.EvalonMessage(code), expected[code]);
  }
  // Spot checks written out as UTF-8 bytes, independent of this file's encoding.
  EXPECT_STREQ(lib.EvalonMessage(6), "\xEF\xBC\x90\xE3\x81\xA7\xE5\x89\xB2\xE3\x82\x8A\xE3\x81"
                                     "\xBE\xE3\x81\x97\xE3\x81\x9F"); // ０で割りました
  EXPECT_STREQ(lib.EvalonMessage(ev::DomainError), "関数の値エラー");
  EXPECT_STREQ(lib.EvalonMessage(ev::Ok), "No Error");

  EXPECT_EQ(lib.EvalonMessage(ev::LastStatus + 1), nullptr);
  EXPECT_EQ(lib.EvalonMessage(ev::NoSystem), nullptr);
  EXPECT_EQ(lib.EvalonMessage(INT_MIN), nullptr);
  EXPECT_EQ(lib.EvalonMessage(INT_MAX), nullptr);
}

} // namespace
