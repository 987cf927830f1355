// A stack of fixed capacity whose entries are constructed on push and destroyed on pop,
// so an evaluation pays only for the values it actually stacks. The caller checks full()
// before a push and size() before top, below or pop.
#pragma once

#include <new>
#include <utility>

template <class T, int Capacity> class FixedStack {
public:
  FixedStack() = default;
  ~FixedStack() { clear(); }
  FixedStack(const FixedStack&) = delete;
  FixedStack& operator=(const FixedStack&) = delete;

  int size() const { return count; }
  bool empty() const { return count == 0; }
  bool full() const { return count == Capacity; }

  template <class... Args> void push(Args&&... args) {
    ::new (static_cast<void*>(slot(count))) T(std::forward<Args>(args)...);
    ++count;
  }
  T& top() { return *slot(count - 1); }
  T& below() { return *slot(count - 2); } // the entry under the top one
  T pop() {
    T value = std::move(top());
    drop();
    return value;
  }
  void drop() {
    top().~T();
    --count;
  }
  void clear() {
    while (count > 0)
      drop();
  }

private:
  T* slot(int n) { return std::launder(reinterpret_cast<T*>(storage)) + n; }

  alignas(T) unsigned char storage[Capacity * sizeof(T)];
  int count = 0;
};
