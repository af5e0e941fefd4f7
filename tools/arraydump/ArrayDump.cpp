#include "tools/arraydump/ArrayDump.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <vector>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "platform/Strings.h"

namespace arraydump {

namespace {

struct Entry {
  int priority;
  const char* name;
  Printer printer;
};

// Function-local so registrations in other files can run before main in any order.
std::vector<Entry>& Registry() {
  static std::vector<Entry> entries;
  return entries;
}

std::map<std::string, long long, std::less<>>& Options() {
  static std::map<std::string, long long, std::less<>> options;
  return options;
}

}  // namespace

std::optional<long long> NumericOption(std::string_view name) {
  auto it = Options().find(name);
  if (it == Options().end()) return std::nullopt;
  return it->second;
}

PrinterRegistration::PrinterRegistration(int priority, const char* name, Printer printer) {
  Registry().push_back({priority, name, printer});
}

void PrintField(std::ostream& out, std::string_view name, std::string_view value) {
  out << name << ": " << value << '\n';
}

void PrintField(std::ostream& out, std::string_view name, std::u16string_view value) {
  PrintField(out, name, std::string_view(StringUtils::WideToNarrow(value)));
}

void PrintField(std::ostream& out, std::string_view name, long long value) {
  PrintField(out, name, std::string_view(std::to_string(value)));
}

std::string Printable(std::u16string_view text) {
  std::string out;
  for (char c : StringUtils::WideToNarrow(text)) {
    const auto byte = static_cast<unsigned char>(c);
    out += byte < 0x20 || byte == 0x7f ? platform::Format("\\x%02X", byte) : std::string(1, c);
  }
  return out;
}

std::string FloatText(float value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace arraydump

int main(int argc, char** argv) {
  int arg = 1;
  for (; arg + 1 < argc && std::string_view(argv[arg]).starts_with("--"); arg += 2) {
    char* end = nullptr;
    const long long value = std::strtoll(argv[arg + 1], &end, 10);
    if (end == argv[arg + 1] || *end != '\0') break;
    arraydump::Options()[std::string(argv[arg] + 2)] = value;
  }
  if (arg + 1 != argc) {
    std::fprintf(stderr, "usage: arraydump [--sets N] FILE\n");
    return 2;
  }
  std::vector<arraydump::Entry> printers = arraydump::Registry();
  std::stable_sort(printers.begin(), printers.end(),
                   [](const arraydump::Entry& a, const arraydump::Entry& b) { return a.priority < b.priority; });
  const std::string path = argv[arg];
  try {
    for (const arraydump::Entry& entry : printers) {
      if (entry.printer(path, std::cout)) return 0;
    }
  } catch (const generic_exceptions::GenericException& e) {
    std::cout.flush();
    std::fprintf(stderr, "arraydump: %s: %s\n", path.c_str(), e.what());
    return 1;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::fprintf(stderr, "arraydump: %s: %s\n", path.c_str(), e.what());
    return 1;
  }
  std::fprintf(stderr, "arraydump: %s: not an array file this program reads\n", path.c_str());
  return 1;
}
