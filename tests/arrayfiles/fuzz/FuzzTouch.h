#pragma once
// Makes a fuzz target use the values it asks for, so the compiler cannot drop
// the calls, without adding them in their own types: a file's numbers may be
// anything, and an int sum that overflows would be a finding of its own.
namespace fuzz_support {

inline volatile double touched;

template <class... Values>
void Touch(Values... values) {
  touched = (0.0 + ... + static_cast<double>(values));
}

}  // namespace fuzz_support
