#include "chart/drawing_store.h"

#include "host/study_host.h"

namespace chart {

void DrawingStore::Submit(const host::DrawingRequest& request) {
  drawings_.insert_or_assign(request.lineNumber, request);
}

int DrawingStore::Delete(int selector, int lineNumber) {
  if (selector == host::kDeleteLineNumber) return static_cast<int>(drawings_.erase(lineNumber));
  if (selector == host::kDeleteAll && lineNumber == 0) {
    const int count = static_cast<int>(drawings_.size());
    drawings_.clear();
    return count;
  }
  return 0;
}

const host::DrawingRequest* DrawingStore::Find(int lineNumber) const {
  auto it = drawings_.find(lineNumber);
  return it == drawings_.end() ? nullptr : &it->second;
}

const host::DrawingRequest* DrawingStore::FirstTextContaining(std::string_view needle) const {
  for (const auto& [line, drawing] : drawings_) {
    if (drawing.kind == host::DrawingKind::kText && drawing.text.find(needle) != std::string::npos) {
      return &drawing;
    }
  }
  return nullptr;
}

std::vector<host::DrawingRequest> DrawingStore::Sorted() const {
  std::vector<host::DrawingRequest> sorted;
  sorted.reserve(drawings_.size());
  for (const auto& [line, drawing] : drawings_) sorted.push_back(drawing);
  return sorted;
}

}  // namespace chart
