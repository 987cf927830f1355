// gValue: the tagged value of the formula evaluator. Every operand,
// intermediate result and final result of a formula is one; it carries every
// operation a formula can apply and holds the engine's type promotion rules.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

class gValue final {
public:
  enum Tag : std::int32_t { Empty = 0, Long = 1, Double = 2, String = 3 };

  gValue();
  gValue(const std::int32_t value);
  gValue(const double value);
  gValue(const char* value);
  // Copies and moves carry the text only when the tag names it: the evaluator moves numeric
  // values several times per operator, and nothing reads an unnamed field.
  gValue(const gValue& other);
  gValue(gValue&& other) noexcept;
  gValue& operator=(const gValue& other);
  gValue& operator=(gValue&& other) noexcept;
  ~gValue() = default;

  // The operations in their fixed slot order. Each works in place on this value
  // (the left operand of a two-operand operation) and returns a status code.
  virtual int getType() const;
  virtual void setValue(const std::int32_t value);
  virtual void setValue(const double value);
  virtual void setValue(const char* value);
  virtual int getValue(std::int32_t& out) const;
  virtual int getValue(double& out) const;
  virtual int getValue(char* out) const; // out holds 256 bytes
  virtual int execNOT();
  virtual int execOR(const gValue right);
  virtual int execAND(const gValue right);
  virtual int execEQUAL(const gValue right);
  virtual int execNOTEQ(const gValue right);
  virtual int execSMALL(const gValue right);
  virtual int execSMALLEQ(const gValue right);
  virtual int execLARGE(const gValue right);
  virtual int execLARGEEQ(const gValue right);
  virtual int execPLUS(const gValue right);
  virtual int execMINUS(const gValue right);
  virtual int execTIMES(const gValue right);
  virtual int execDIVID(const gValue right);
  virtual int execMOD(const gValue right);
  virtual int execINVERT();
  virtual int execPOWER(const gValue right);
  virtual int execSIN();
  virtual int execCOS();
  virtual int execTAN();
  virtual int execEXP();
  virtual int execLOG10();
  virtual int execLOG();
  virtual int execLOG2();
  virtual int execASIN();
  virtual int execACOS();
  virtual int execATAN();
  virtual int execSQRT();
  virtual int execABS();
  virtual int execCEIL();
  virtual int execFLOOR();
  virtual int execINT();
  virtual int execSIND();
  virtual int execCOSD();
  virtual int execTAND();
  virtual int execASIND();
  virtual int execACOSD();
  virtual int execATAND();

  // The two-operand operations on a right operand that is not copied: the ones above take
  // theirs by value and forward here, and the evaluator calls these directly.
  int logicalOr(const gValue& right);
  int logicalAnd(const gValue& right);
  int equal(const gValue& right);
  int notEqual(const gValue& right);
  int smaller(const gValue& right);
  int smallerOrEqual(const gValue& right);
  int larger(const gValue& right);
  int largerOrEqual(const gValue& right);
  int plus(const gValue& right);
  int minus(const gValue& right);
  int times(const gValue& right);
  int divide(const gValue& right);
  int modulo(const gValue& right);
  int power(const gValue& right);

  friend bool operator==(const gValue& a, const gValue& b);

private:
  bool isNumeric() const;
  double real() const;
  bool isZero() const;
  template <class Op> int logic(const gValue& right, Op op);
  template <class Cmp> int compare(const gValue& right, Cmp cmp);
  template <class Op> int arithmetic(const gValue& right, Op op);
  template <class F, class Refuse> int applyReal(F f, Refuse refuse);
  template <class F> int applyReal(F f);
  template <class F> int applyToDouble(F f);

  std::int32_t type;
  std::int32_t longValue;
  double doubleValue;
  std::string stringValue;
};

// Writes the bytes of src in reverse order into dst and terminates it.
void reversString(char* dst, const char* src);

// Defined here so that the evaluator's moves inline.
inline gValue::gValue(const gValue& other)
    : type(other.type), longValue(other.longValue), doubleValue(other.doubleValue) {
  if (type == String) stringValue = other.stringValue;
}

inline gValue::gValue(gValue&& other) noexcept
    : type(other.type), longValue(other.longValue), doubleValue(other.doubleValue) {
  if (type == String) stringValue = std::move(other.stringValue);
}

inline gValue& gValue::operator=(const gValue& other) {
  type = other.type;
  longValue = other.longValue;
  doubleValue = other.doubleValue;
  if (type == String) stringValue = other.stringValue;
  return *this;
}

inline gValue& gValue::operator=(gValue&& other) noexcept {
  type = other.type;
  longValue = other.longValue;
  doubleValue = other.doubleValue;
  if (type == String) stringValue = std::move(other.stringValue);
  return *this;
}
