#include "gui/FontFaces.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <mutex>

namespace kirra::gui {

namespace {

const char* familyOf(bool mono) {
    return mono ? "DejaVu Sans Mono" : "DejaVu Sans";
}

// The rendering is fixed here rather than left to the user's fontconfig files, so that the
// editor looks the same on every machine: grey antialiasing (no colour fringes on the two skin
// colours) and the font's own hinting, which keeps stems on whole pixels at the small sizes the
// editor uses.
cairo_font_face_t* matchFace(bool mono, bool bold) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyOf(mono)));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_ANTIALIAS, FcTrue);
    FcPatternAddBool(pattern, FC_HINTING, FcTrue);
    FcPatternAddInteger(pattern, FC_HINT_STYLE, FC_HINT_SLIGHT);
    FcPatternAddBool(pattern, FC_AUTOHINT, FcFalse);
    FcPatternAddInteger(pattern, FC_RGBA, FC_RGBA_NONE);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return cairo_toy_font_face_create(familyOf(mono), CAIRO_FONT_SLANT_NORMAL,
                                          bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    }
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
    FcPatternDestroy(match);  // the face holds its own reference
    return face;
}

}  // namespace

cairo_font_face_t* fontFace(bool mono, bool bold) {
    static std::once_flag once;
    static cairo_font_face_t* faces[2][2] = {};
    std::call_once(once, [] {
        for (int kind = 0; kind < 2; ++kind) {
            for (int weight = 0; weight < 2; ++weight)
                faces[kind][weight] = matchFace(kind == 1, weight == 1);
        }
    });
    return faces[mono ? 1 : 0][bold ? 1 : 0];
}

}  // namespace kirra::gui
