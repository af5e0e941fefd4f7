#include <cstddef>

#include "tools/arraygen/ArrayGen.h"

namespace arraygen {

namespace {

template <typename Form, std::size_t N>
bool ParseByName(const std::string& name, const Form (&forms)[N], Form& form) {
  for (Form candidate : forms) {
    if (name == FormName(candidate)) {
      form = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

const char* FormName(CdfForm form) {
  switch (form) {
    case CdfForm::kText: return "text";
    case CdfForm::kXda: return "xda";
    case CdfForm::kGeneric: return "generic";
  }
  return "?";
}

const char* FormName(ChpForm form) {
  switch (form) {
    case ChpForm::kXda: return "xda";
    case ChpForm::kOlder: return "older";
    case ChpForm::kGeneric: return "generic";
  }
  return "?";
}

const char* FormName(CelForm form) {
  switch (form) {
    case CelForm::kTextV3: return "text3";
    case CelForm::kTextV2: return "text2";
    case CelForm::kXda: return "xda";
    case CelForm::kBcel: return "bcel";
    case CelForm::kCompact: return "compact";
    case CelForm::kGeneric: return "generic";
  }
  return "?";
}

bool ParseForm(const std::string& name, CdfForm& form) { return ParseByName(name, kAllCdfForms, form); }
bool ParseForm(const std::string& name, ChpForm& form) { return ParseByName(name, kAllChpForms, form); }
bool ParseForm(const std::string& name, CelForm& form) { return ParseByName(name, arraywriters::kAllCelForms, form); }

}  // namespace arraygen
