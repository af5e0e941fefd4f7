#pragma once
// A vector whose new elements are default-initialised instead of
// value-initialised: resize(n) of plain numbers allocates and leaves the
// memory to whoever fills it. A large array filled on several threads is
// then first touched, and so faulted in, by the threads that fill it, not
// zeroed beforehand on one.
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {

template <class T>
class DefaultInitAllocator : public std::allocator<T> {
 public:
  template <class U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };

  DefaultInitAllocator() noexcept = default;
  template <class U>
  DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}  // NOLINT(google-explicit-constructor)

  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

template <class T>
using UninitializedVector = std::vector<T, DefaultInitAllocator<T>>;

}  // namespace platform
