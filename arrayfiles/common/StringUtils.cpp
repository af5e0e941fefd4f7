#include "arrayfiles/common/StringUtils.h"

#include "platform/Strings.h"

namespace StringUtils {

std::string WideToNarrow(std::u16string_view text) {
  return platform::Narrow(text.substr(0, text.find(u'\0')));
}

std::u16string NarrowToWide(std::string_view text) {
  return platform::Widen(text.substr(0, text.find('\0')));
}

void TrimLeft(std::u16string& text) {
  std::size_t first = text.find_first_not_of(u' ');
  if (first != std::u16string::npos) text.erase(0, first);
}

void TrimRight(std::u16string& text) {
  std::size_t last = text.find_last_not_of(u' ');
  if (last == std::u16string::npos) {
    text.clear();
  } else {
    text.erase(last + 1);
  }
}

}  // namespace StringUtils
