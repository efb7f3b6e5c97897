// The chart page's own files (page.html, page.js, chart_pointer.js, page.css under src/web/page), built into the
// program so that it serves them from wherever it runs.
#pragma once

#include <string_view>

namespace web {

struct PageAsset {
  std::string_view path;  // the request path: "/", "/page.js", "/chart_pointer.js", "/page.css"
  const char* contentType;
  std::string_view body;
};

// The asset served at `path`; nullptr for any other path.
const PageAsset* FindAsset(std::string_view path);

}  // namespace web
