// variable: one named value of the store, identified by name and two subscripts, in one
// of three fixed kinds (long, double, text). A write or read of another kind is converted
// or refused by the conversion rules of each kind.
#pragma once

#include <cstdint>
#include <string>

// A double truncated toward zero to 64 bits, of which the low 32 are kept. NaN and
// doubles outside the 64-bit range give the 64-bit value 0x8000000000000000 as x86-64
// hardware does, so the result is 0 for them: defined for every double.
std::int32_t truncateToLong(double value);

class variable {
public:
  variable();
  variable(const char* name, const std::uint32_t i, const std::uint32_t j);

  // The operations in their fixed slot order; each returns 0, or 1 when the kinds
  // do not match.
  virtual int setValue(const std::int32_t value) = 0;
  virtual int setValue(const double value) = 0;
  virtual int setValue(const char* value) = 0;
  virtual int getValue(std::int32_t& out) const = 0;
  virtual int getValue(double& out) const = 0;
  virtual int getValue(char* out) const = 0; // out must hold the text and its terminator
  virtual char who() const = 0;              // 'L', 'F' or 'S'

  // After the operations, so that it takes no slot before them: the store deletes its
  // variables through this base, and a text variable must release its text.
  virtual ~variable();

  const std::string& getName() const { return name; }
  std::uint32_t getFirst() const { return first; }
  std::uint32_t getSecond() const { return second; }

private:
  std::string name;
  std::uint32_t first;
  std::uint32_t second;
};

// Same name, byte for byte, and same subscripts.
bool operator==(const variable& a, const variable& b);
// Names byte-wise as unsigned bytes (a prefix first), then first, then second subscript.
bool operator<(const variable& a, const variable& b);

class longVariable final : public variable {
public:
  longVariable();
  longVariable(const char* name, const std::int32_t value, const std::uint32_t i,
               const std::uint32_t j);
  int setValue(const std::int32_t value) override;
  int setValue(const double value) override;
  int setValue(const char* value) override;
  int getValue(std::int32_t& out) const override;
  int getValue(double& out) const override;
  int getValue(char* out) const override;
  char who() const override;

private:
  std::int32_t value;
};

class doubleVariable final : public variable {
public:
  doubleVariable();
  doubleVariable(const char* name, const double value, const std::uint32_t i,
                 const std::uint32_t j);
  int setValue(const std::int32_t value) override;
  int setValue(const double value) override;
  int setValue(const char* value) override;
  int getValue(std::int32_t& out) const override;
  int getValue(double& out) const override;
  int getValue(char* out) const override;
  char who() const override;

  // Where the value is kept, for readers that read it often (FormulaCache.h): read as a
  // double, the variable gives exactly this.
  const double* valueAddress() const { return &value; }

private:
  double value;
};

class stringVariable final : public variable {
public:
  stringVariable();
  stringVariable(const char* name, const char* value, const std::uint32_t i, const std::uint32_t j);
  int setValue(const std::int32_t value) override;
  int setValue(const double value) override;
  int setValue(const char* value) override;
  int getValue(std::int32_t& out) const override;
  int getValue(double& out) const override;
  int getValue(char* out) const override;
  char who() const override;

private:
  std::string value;
};
