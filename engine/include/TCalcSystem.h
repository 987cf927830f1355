// TCalcSystem: the engine object that a client of libEvalon holds. It owns a variable
// store and offers, through its table of virtual operations, formula evaluation, variable
// access by reference text ("a", "a#[i+1]", "s$[2][j]"), an assignment statement and two
// format services.
//
// Clients call the operations through the object's table (obtain an object with
// InitCalcSystem, release it with DeleteCalcSystem). The order of the virtual operations
// below is part of the library's interface: slot 0 is calcLongFormula, slot 16
// GetFloatFlag. Nothing virtual may be added before them, and the destructor is not
// virtual.
//
// Every status is one of ev::Status (EvalonStatus.h). Text buffers handed in for output
// hold 256 bytes. Limits, and the status each gives when it is exceeded:
// - a formula of more than 128 tokens: 4 (ev::TextTooLong);
// - a token of more than 255 bytes: 17 (ev::LiteralTooLong);
// - more than 20 operators or 20 values waiting at once in an evaluation: 4;
// - subscript expressions nested more than 32 deep: 13 (ev::TooManySubscripts);
// - a string literal without its closing quote: 16 (ev::UnclosedString);
// - a name whose "[" never closes: 15 (ev::MissingCloseBracket);
// - a reference whose name or subscript text is longer than 255 bytes, a text longer
//   than 255 bytes given to SetStringValue, a statement side, print label or formatted
//   result longer than 255 bytes: 4;
// - a statement for Execute without "=": 18 (ev::MissingEquals).
// A number returned together with a non-zero status is 0 (0.0).
#pragma once

#include "EvalonStatus.h"

#include <cstdint>

class TVarSystem;
class fCalc;
class item;
class TokenArray;

class TCalcSystem {
public:
  TCalcSystem();
  // Adopts the store, which the object then owns and destroys.
  explicit TCalcSystem(TVarSystem* store);
  ~TCalcSystem();
  TCalcSystem(const TCalcSystem&) = delete;
  TCalcSystem& operator=(const TCalcSystem&) = delete;

  // Slots 0-3: evaluate a formula to a long, a double (the second in double mode, where
  // names without a sigil and integer literals are doubles) or a text (result: 256 bytes,
  // written only on success).
  virtual std::int32_t calcLongFormula(const char* formula, std::uint32_t& err);
  virtual double calcDoubleFormula(const char* formula, std::uint32_t& err);
  virtual double calcDoubleFormulaAs(const char* formula, std::uint32_t& err);
  virtual void calcStringFormula(char* result, const char* formula, std::uint32_t& err);
  // Slots 4-9: read and write a variable by reference text.
  virtual int GetLongValue(const char* ref, std::int32_t& value);
  virtual int GetFloatValue(const char* ref, double& value);
  virtual int GetStringValue(const char* ref, char* value);
  virtual int SetLongValue(const char* ref, std::int32_t value);
  virtual int SetFloatValue(const char* ref, double value);
  virtual int SetStringValue(const char* ref, const char* value);
  // Slots 10-12: "target = expression", a print item and a write item "expression:width".
  virtual int Execute(const char* statement);
  virtual int GetPrintFormat(const char* item, char* label, char* text);
  virtual int GetWriteFormat(const char* item, char* text);
  // Slots 13-16.
  virtual void SetAutoCreate(bool on);
  virtual bool GetAutoCreate();
  virtual void SetFloatFlag(bool on);
  virtual bool GetFloatFlag();

private:
  template <class Out> int evaluate(const char* formula, Out& out);
  int calcFormula(fCalc& machine, const char* formula);
  int getItems(const char* formula, TokenArray& items, int& count);
  void convertOperator(TokenArray& items, int count);
  int getOpeCode(const char* text);
  int pushOperand(fCalc& machine, const item& token);
  template <class StoreCall> int resolve(const char* ref, StoreCall call);
  template <class StoreCall> int resolveSubscripted(const char* ref, StoreCall call);
  int getIndex(const char* ref, char* name, std::uint32_t& i, std::uint32_t& j);
  int getSubscript(const char*& p, std::uint32_t& value);
  int getPrintVariables(const char* item, char* label);
  int getWidth(const char* item, char* expression, std::int32_t& width);
  int formatValue(const char* expression, char kind, std::int32_t width, char* text);

  TVarSystem* store;
  bool floatFlag;
  int nesting; // depth of subscript evaluations under way
};
