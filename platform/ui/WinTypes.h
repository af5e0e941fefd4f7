#pragma once
// The framework's handle and message-parameter types, so the program's
// window code reads as it always did. Handles are typed pointers into our own
// window model, never integers.
#include <cstdint>

#include "platform/Types.h"

namespace platform::ui {
struct WindowState;
struct CursorHandle;
struct PositionTag;
}  // namespace platform::ui

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using SHORT = std::int16_t;

// A window that exists; null once it is destroyed.
using HWND = platform::ui::WindowState*;
using HCURSOR = const platform::ui::CursorHandle*;
// A place in one of the framework's lists; null past the end.
using POSITION = platform::ui::PositionTag*;

constexpr WORD LOWORD(std::uintptr_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD low, WORD high) { return DWORD(low) | (DWORD(high) << 16); }

// The calendar time of the month calendar and the date filters.
struct SYSTEMTIME {
  WORD wYear = 0;
  WORD wMonth = 0;
  WORD wDayOfWeek = 0;
  WORD wDay = 0;
  WORD wHour = 0;
  WORD wMinute = 0;
  WORD wSecond = 0;
  WORD wMilliseconds = 0;
};

namespace platform::ui {

// POSITION values encode an index: the first element is 1, so null ends a walk.
inline POSITION PositionOf(std::size_t index) {
  return reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(index + 1));
}
inline std::size_t IndexOf(POSITION pos) { return reinterpret_cast<std::uintptr_t>(pos) - 1; }

}  // namespace platform::ui

// The current date and time from CTime's clock, as UTC and as local time.
void GetSystemTime(SYSTEMTIME* time);
void GetLocalTime(SYSTEMTIME* time);
