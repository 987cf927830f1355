// TVarSystem: the variable store. Holds every variable in ascending order of identity
// (name, first subscript, second subscript), creates variables on first use while
// autoCreate is on, and converts or refuses writes and reads of another kind.
#pragma once

#include "variable.h"

#include <cstdint>
#include <memory>
#include <vector>

// The name rule of the store: a letter or "@" first, then letters, digits, "_", "$" and
// "#" up to the end or the first "[" (what follows a "[" is not examined).
bool checkVarName(const char* name);

class TVarSystem final {
public:
  // What search answers when no variable has the identity.
  static constexpr int NotFound = 2147483647;

  TVarSystem();
  ~TVarSystem();
  TVarSystem(const TVarSystem&) = delete;
  TVarSystem& operator=(const TVarSystem&) = delete;

  // The operations in their fixed slot order. Statuses: 0 done, 1 kinds do not match,
  // 2 invalid name, 3 no such variable while autoCreate is off.
  virtual void resetVarSystem();
  virtual int SetValue(const char* name, const std::int32_t value, const std::uint32_t i,
                       const std::uint32_t j);
  virtual int SetValue(const char* name, const double value, const std::uint32_t i,
                       const std::uint32_t j);
  virtual int SetValue(const char* name, const char* value, const std::uint32_t i,
                       const std::uint32_t j);
  virtual int GetValue(const char* name, std::int32_t& out, const std::uint32_t i,
                       const std::uint32_t j) const;
  virtual int GetValue(const char* name, double& out, const std::uint32_t i,
                       const std::uint32_t j) const;
  virtual int GetValue(const char* name, char* out, const std::uint32_t i,
                       const std::uint32_t j) const;
  virtual int DefineValue(const char* name, const std::int32_t value, const std::uint32_t i,
                          const std::uint32_t j);
  virtual int DefineValue(const char* name, const double value, const std::uint32_t i,
                          const std::uint32_t j);
  virtual int DefineValue(const char* name, const char* value, const std::uint32_t i,
                          const std::uint32_t j);
  virtual void SetAutoCreate(const bool on);
  virtual bool GetAutoCreate() const;
  virtual int search(const char* name, const std::uint32_t i, const std::uint32_t j) const;

  // The number of variables held, and the one at a position of the order.
  int size() const { return static_cast<int>(variables.size()); }
  const variable& at(int position) const { return *variables[position]; }

private:
  // Reads create variables while autoCreate is on, so the sequence changes under const.
  mutable std::vector<std::unique_ptr<variable>> variables;
  bool autoCreate;
};
