#pragma once
// Test helper: a captureless lambda as a timer procedure. A TIMERPROC is a stdcall function
// on 32-bit Windows, which the function pointer a lambda converts to is not.
//
//   SetTimer(nullptr, 0, 100, testing_win::TimerProc([](HWND, UINT, UINT_PTR id, DWORD) { ... }));
#include <windows.h>

#include <type_traits>

namespace testing_win {

template <typename F>
void CALLBACK CallTimer(HWND window, UINT message, UINT_PTR id, DWORD time) {
  F{}(window, message, id, time);
}

template <typename F>
TIMERPROC TimerProc(F) {
  static_assert(std::is_empty_v<F>, "a timer procedure carries no captures");
  return &CallTimer<F>;
}

}  // namespace testing_win
