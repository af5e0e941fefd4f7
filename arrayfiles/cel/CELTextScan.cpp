#include "arrayfiles/cel/CELTextScan.h"

#include <cctype>
#include <charconv>

namespace cel_text {
namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

void Scanner::SkipSpace() {
  while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
}

Scanner& Scanner::Literal(std::string_view literal) {
  for (char c : literal) {
    if (!ok_) break;
    if (IsSpace(c)) {
      SkipSpace();
    } else if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
    } else {
      ok_ = false;
    }
  }
  return *this;
}

template <typename T>
Scanner& Scanner::Number(T& value) {
  if (!ok_) return *this;
  SkipSpace();
  std::size_t start = pos_;
  if (start < text_.size() && text_[start] == '+') ++start;
  T parsed{};
  auto [end, error] = std::from_chars(text_.data() + start, text_.data() + text_.size(), parsed);
  if (error != std::errc()) {
    ok_ = false;
    return *this;
  }
  value = parsed;
  pos_ = static_cast<std::size_t>(end - text_.data());
  ++count_;
  return *this;
}

Scanner& Scanner::Int(int& value) { return Number(value); }
Scanner& Scanner::Float(float& value) { return Number(value); }

Scanner& Scanner::Word(std::string& value) {
  if (!ok_) return *this;
  SkipSpace();
  std::size_t start = pos_;
  while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
  if (pos_ == start) {
    ok_ = false;
    return *this;
  }
  value.assign(text_.substr(start, pos_ - start));
  ++count_;
  return *this;
}

}  // namespace cel_text
