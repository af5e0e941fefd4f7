#pragma once
// A bounded stand-in for the scanf patterns the text CEL lines are read with
// ("%d\t%d\t%f\t%f\t%d", "Cols=%d", "Algorithm=%s"): whitespace in a pattern
// matches any run of whitespace, numbers skip leading whitespace, and a number
// that does not fit its type fails the scan instead of wrapping.
#include <string>
#include <string_view>

namespace cel_text {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  // Matches the literal; each whitespace character of it matches any run of
  // whitespace (also none), every other character must match exactly.
  Scanner& Literal(std::string_view literal);
  Scanner& Int(int& value);
  Scanner& Float(float& value);
  // A run of non-whitespace characters, like "%s" (at least one).
  Scanner& Word(std::string& value);

  // True while every step so far has matched.
  [[nodiscard]] bool Ok() const { return ok_; }
  // The number of values read before the first failure.
  [[nodiscard]] int Count() const { return count_; }

 private:
  void SkipSpace();
  template <typename T>
  Scanner& Number(T& value);

  std::string_view text_;
  std::size_t pos_ = 0;
  bool ok_ = true;
  int count_ = 0;
};

[[nodiscard]] inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace cel_text
