#pragma once
// The editor's two text faces, found through fontconfig and rendered by FreeType through cairo:
// DejaVu Sans for reading, DejaVu Sans Mono where digits stand in columns.

// NOLINTNEXTLINE(bugprone-reserved-identifier): cairo's own tag name
typedef struct _cairo_font_face cairo_font_face_t;

namespace kirra::gui {

// One face per kind for the whole process (fontconfig is far too slow to ask per text); never
// null: without fontconfig's match it is cairo's own choice for the family.
cairo_font_face_t* fontFace(bool mono, bool bold);

}  // namespace kirra::gui
