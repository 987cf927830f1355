// TVarSystem: the variable store. Holds every variable in ascending order of identity
// (name, first subscript, second subscript), creates variables on first use while
// autoCreate is on, and converts or refuses writes and reads of another kind.
#pragma once

#include "FormulaCache.h"
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

  // The variable with that identity, or null. Variables never move and are never removed
  // one by one: the pointer stays the store's entry for the identity until the generation
  // changes.
  const variable* find(const char* name, std::uint32_t i, std::uint32_t j) const {
    const int position = search(name, i, j);
    return position == NotFound ? nullptr : variables[static_cast<std::size_t>(position)].get();
  }

  // Changes whenever the set of variables changes: a variable is created (by a write, a
  // definition or a read with automatic creation) or destroyed (resetVarSystem). Values
  // written into existing variables do not change it; neither do the kind of a variable,
  // which is fixed at its creation, nor autoCreate, which matters only for names not found.
  // What a name was found to be stays true as long as the generation is the same.
  std::uint64_t generation() const { return generationCount; }

  // The formula cache of the calculation system that owns this store (FormulaCache.h). It
  // lives here because the store is the one object a calculation system owns, and its
  // public class must keep its layout. Off: every evaluation scans its formula anew, the
  // reference course that tests compare the cache against.
  FormulaCache& formulaCache() { return cache; }
  bool formulaCaching() const { return caching; }
  void setFormulaCaching(bool on) {
    caching = on;
    cache.clear();
  }

private:
  // Reads create variables while autoCreate is on, so the sequence changes under const.
  mutable std::vector<std::unique_ptr<variable>> variables;
  bool autoCreate;
  mutable std::uint64_t generationCount = 0;
  bool caching = true;
  FormulaCache cache;
};
