#pragma once
// One owner for every raw Windows handle: closed once, by the function its kind needs,
// on every path (also when a step throws).
#include <windows.h>

#include <utility>

namespace ear {

// Traits name the handle type, its empty value and how it is closed.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Handle Get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Empty(); }
  // Gives the handle away (to a window or a caller that takes ownership).
  Handle Release() { return std::exchange(h_, Traits::Empty()); }
  void Reset(Handle h = Traits::Empty()) {
    if (h_ != Traits::Empty()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::Empty();
};

// CreateFile and FindFirstFile say "none" with INVALID_HANDLE_VALUE; processes, threads and
// snapshots of other calls with null.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};

using FileHandle = UniqueHandle<FileTraits>;
using KernelHandle = UniqueHandle<KernelTraits>;
using FindHandle = UniqueHandle<FindTraits>;

}  // namespace ear
