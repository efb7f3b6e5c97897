// The chart's drawings of one study, kept by line number: a submission with the line number of
// an existing drawing replaces it in place.
#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "host/drawing_request.h"

namespace chart {

class DrawingStore {
 public:
  // Adds the drawing, or replaces the one with the same line number.
  void Submit(const host::DrawingRequest& request);
  // Selector 0 deletes `lineNumber`; selector -1 with line number 0 deletes every drawing;
  // any other combination deletes nothing. Returns how many drawings went.
  int Delete(int selector, int lineNumber);

  // The drawing with `lineNumber`; nullptr when there is none.
  const host::DrawingRequest* Find(int lineNumber) const;
  // The first text drawing (lowest line number) whose text contains `needle`; nullptr if none.
  const host::DrawingRequest* FirstTextContaining(std::string_view needle) const;
  // Every drawing, sorted by line number.
  std::vector<host::DrawingRequest> Sorted() const;
  size_t Size() const { return drawings_.size(); }

 private:
  std::map<int, host::DrawingRequest> drawings_;
};

}  // namespace chart
