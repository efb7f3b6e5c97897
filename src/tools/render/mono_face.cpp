#include "render/mono_face.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <map>
#include <mutex>

namespace render {
namespace {

constexpr const char* kDefaultFace = "Consolas";
constexpr const char* kStandIns[] = {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono"};
constexpr const char* kGenericMonospace = "monospace";
constexpr double kMeasureSize = 100;

bool IsInstalled(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
  FcFontSet* fonts = objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  const bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  if (objects) FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

// Fills the metrics of `face` from the font cairo picks for its family.
void MeasureFace(MonoFace* face) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, face->family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kMeasureSize);
  cairo_text_extents_t extents{};
  cairo_text_extents(cr, "0", &extents);
  cairo_font_extents_t font{};
  cairo_font_extents(cr, &font);
  if (cairo_status(cr) == CAIRO_STATUS_SUCCESS && extents.x_advance > 0 && font.ascent > 0) {
    face->advanceEm = extents.x_advance / kMeasureSize;
    face->ascentEm = font.ascent / kMeasureSize;
    face->descentEm = font.descent / kMeasureSize;
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

MonoFace Resolve(const std::string& requested) {
  std::string family = kGenericMonospace;
  if (IsInstalled(requested)) {
    family = requested;
  } else {
    for (const char* standIn : kStandIns) {
      if (IsInstalled(standIn)) {
        family = standIn;
        break;
      }
    }
  }
  MonoFace face;
  face.family = family;
  MeasureFace(&face);
  return face;
}

}  // namespace

void ReleaseFontCachesAtExit() {
  static std::once_flag once;
  std::call_once(once, [] { std::atexit(ReleaseFontCaches); });
}

MonoFace ResolveMonoFace(std::string_view requested) {
  ReleaseFontCachesAtExit();
  static std::mutex mutex;
  static std::map<std::string, MonoFace, std::less<>> resolved;
  const std::string name(requested.empty() ? std::string_view(kDefaultFace) : requested);
  std::lock_guard<std::mutex> lock(mutex);
  auto it = resolved.find(name);
  if (it == resolved.end()) it = resolved.emplace(name, Resolve(name)).first;
  return it->second;
}

double BaselineY(const MonoFace& face, double sizePx, double y, VerticalAnchor anchor) {
  if (anchor == VerticalAnchor::kTop) return y + face.ascentEm * sizePx;
  if (anchor == VerticalAnchor::kCentre) return y + (face.ascentEm - face.descentEm) * sizePx / 2;
  return y;
}

double FontPixelSize(const MonoFace& face, double points) {
  const double advance = face.advanceEm > 0 ? face.advanceEm : MonoFace{}.advanceEm;
  return points * kLayoutAdvancePerPoint / advance;
}

}  // namespace render
