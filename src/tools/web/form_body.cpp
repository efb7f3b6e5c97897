#include "web/form_body.h"

namespace web {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Decode(std::string_view text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out->push_back(' ');
    } else if (c == '%') {
      if (i + 2 >= text.size()) return false;
      const int high = HexDigit(text[i + 1]);
      const int low = HexDigit(text[i + 2]);
      if (high < 0 || low < 0) return false;
      out->push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      out->push_back(c);
    }
  }
  return true;
}

}  // namespace

std::optional<FormFields> ParseForm(std::string_view body) {
  FormFields fields;
  while (!body.empty()) {
    const size_t end = body.find('&');
    const std::string_view pair = body.substr(0, end);
    body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
    if (pair.empty()) continue;
    const size_t equals = pair.find('=');
    std::string name;
    std::string value;
    if (!Decode(pair.substr(0, equals), &name)) return std::nullopt;
    if (equals != std::string_view::npos && !Decode(pair.substr(equals + 1), &value)) return std::nullopt;
    fields.emplace_back(std::move(name), std::move(value));
  }
  return fields;
}

std::optional<std::string> FormValue(const FormFields& fields, std::string_view name) {
  for (const auto& [key, value] : fields) {
    if (key == name) return value;
  }
  return std::nullopt;
}

}  // namespace web
