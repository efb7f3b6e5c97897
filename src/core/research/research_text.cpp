#include "research/research_text.h"

#include "text/format.h"

namespace research {

std::string FormatOptional(const std::optional<double>& value) {
  if (!value) return "missing";
  return text::Format("%.12g", *value);
}

}  // namespace research
