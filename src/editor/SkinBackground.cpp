// The static background: window shade, the three raised sections with their titles, the
// recessed screens for panels and pages, the knob row captions and the meter slots and scales.

#include <cairo.h>

#include <cstdio>

#include "editor/EditorLayout.h"
#include "editor/Skin.h"

namespace kirra::editor {

using gui::Align;
using gui::Color;
using gui::DrawContext;
using gui::Rect;

namespace {

void paintSection(DrawContext& context, const Rect& section) {
    cairo_t* cr = context.cairo();
    // Drop shadow, then a face that is a little lighter at the top.
    context.setColor({0, 0, 0, 70});
    context.fillRoundRect(section.offset(0, 2), 7);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, section.top, 0, section.bottom);
    cairo_pattern_add_color_stop_rgb(face, 0.0, 52 / 255.0, 62 / 255.0, 61 / 255.0);
    cairo_pattern_add_color_stop_rgb(face, 1.0, 44 / 255.0, 53 / 255.0, 52 / 255.0);
    cairo_set_source(cr, face);
    context.fillRoundRect(section, 7);
    cairo_pattern_destroy(face);
    context.setLineWidth(1.0);
    context.setColor(Skin::kLight.withAlpha(34));
    context.frameRoundRect(section, 7);
}

void paintScreen(DrawContext& context, const Rect& screen) {
    context.setColor(Skin::kScreen);
    context.fillRoundRect(screen, 4);
    context.setColor({0, 0, 0, 90});
    context.drawLine(screen.left + 3, screen.top, screen.right - 4, screen.top);
    context.setColor(Skin::kLight.withAlpha(26));
    context.frameRoundRect(screen, 4);
}

void paintTitle(DrawContext& context, const Rect& box, const char* title) {
    context.drawText(title, box, Align::kCenter, Skin::captionFont(), Skin::kDimText);
}

void paintKnobRow(DrawContext& context, const Rect& section, const char* caption) {
    int lineY = layout::kKnobCaptionTop - 3;
    context.setColor(Skin::kLight.withAlpha(22));
    context.drawLine(section.left + 8, lineY, section.right - 9, lineY);
    Rect box{section.left, layout::kKnobCaptionTop, section.right, layout::kKnobCaptionTop + 10};
    context.drawText(caption, box, Align::kCenter, Skin::smallFont(), Skin::kDimText);
}

void paintKnobNumbers(DrawContext& context, int first, int last) {
    char number[4];
    for (int knob = first; knob <= last; ++knob) {
        int x = layout::kAssignableKnobX[knob];
        Rect box{x, layout::kKnobTop - 12, x + layout::kKnobSize, layout::kKnobTop - 2};
        std::snprintf(number, sizeof(number), "%d", knob + 1);
        context.drawText(number, box, Align::kCenter, Skin::smallFont(), Skin::kDimText);
    }
}

void paintMeterSlot(DrawContext& context, const Rect& bar, const char* channel, bool labelLeft) {
    context.setColor(Skin::kScreen);
    context.fillRoundRect(bar.inset(-2, -2), 2);
    Rect label = labelLeft ? Rect{bar.left - 12, bar.top, bar.left - 3, bar.bottom}
                           : Rect{bar.right + 3, bar.top, bar.right + 12, bar.bottom};
    context.drawText(channel, label, Align::kCenter, Skin::smallFont(), Skin::kDimText);
}

// Ticks between the two bars of a pair, at the decibel marks a mixing engineer reads.
void paintMeterScale(DrawContext& context, const Rect& upper, const Rect& lower) {
    static const int kMarksDb[] = {-60, -50, -40, -30, -20, -10, -6, -3, 0};
    context.setColor(Skin::kLight.withAlpha(70));
    context.setLineWidth(1.0);
    int top = upper.bottom + 2;
    int bottom = lower.top - 3;
    for (int db : kMarksDb) {
        int x = upper.left + (db + 60) * upper.width() / 60 - (db == 0 ? 1 : 0);
        context.drawLine(x, top, x, bottom);
    }
    // Numbers under the lower bar for the marks that have room; the last one names the unit.
    static const int kLabelsDb[] = {-50, -40, -30, -20, -10};
    char number[8];
    const Rect row{lower.left, lower.bottom + 1, lower.right, lower.bottom + 8};
    for (int db : kLabelsDb) {
        int x = upper.left + (db + 60) * upper.width() / 60;
        std::snprintf(number, sizeof(number), "%d", db);
        context.drawText(number, {x - 10, row.top, x + 10, row.bottom}, Align::kCenter,
                         Skin::smallFont(), Skin::kDimText);
    }
    context.drawText("0 dB", {row.right - 24, row.top, row.right, row.bottom}, Align::kRight,
                     Skin::smallFont(), Skin::kDimText);
}

}  // namespace

void paintBackground(gui::Image& image, gui::TextObserver* readable) {
    DrawContext context(image);
    cairo_t* cr = context.cairo();
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, layout::kHeight);
    cairo_pattern_add_color_stop_rgb(shade, 0.0, 30 / 255.0, 37 / 255.0, 36 / 255.0);
    cairo_pattern_add_color_stop_rgb(shade, 1.0, 20 / 255.0, 25 / 255.0, 25 / 255.0);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);

    // Side margins: the name, set vertically.
    cairo_save(cr);
    cairo_translate(cr, 32, layout::kHeight / 2.0 - 8);
    cairo_rotate(cr, -3.14159265358979323846 / 2);
    context.drawText("KIRRA", {-60, -10, 60, 10}, Align::kCenter, {15.0, true},
                     Skin::kLight.withAlpha(60));
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, 798, layout::kHeight / 2.0 - 8);
    cairo_rotate(cr, 3.14159265358979323846 / 2);
    context.drawText("MODULAR MULTI-EFFECT", {-100, -6, 100, 6}, Align::kCenter, Skin::smallFont(),
                     Skin::kLight.withAlpha(45));
    cairo_restore(cr);

    // The texts a user reads are told; the name in the margins is decoration.
    context.setTextObserver(readable);
    paintSection(context, layout::kModulatorSection);
    paintSection(context, layout::kMainSection);
    paintSection(context, layout::kOperatorSection);
    paintScreen(context, layout::kModulatorScreen);
    paintScreen(context, layout::kMainScreen);
    paintScreen(context, layout::kOperatorScreen);
    paintTitle(context, layout::kModulatorTitle, "MODULATORS");
    paintTitle(context, layout::kOperatorTitle, "OPERATORS");

    paintKnobRow(context, layout::kModulatorSection, "ASSIGNABLE KNOBS");
    paintKnobRow(context, layout::kMainSection, "MAIN");
    paintKnobRow(context, layout::kOperatorSection, "ASSIGNABLE KNOBS");
    paintKnobNumbers(context, 0, 7);
    static const char* const kMainCaptions[] = {"INPUT", "MIX", "OUTPUT"};
    for (int knob = 0; knob < 3; ++knob) {
        int x = layout::kMainKnobX[knob];
        context.drawText(
            kMainCaptions[knob],
            {x - 6, layout::kKnobTop - 12, x + layout::kKnobSize + 6, layout::kKnobTop - 2},
            Align::kCenter, Skin::smallFont(), Skin::kDimText);
    }
    const Rect& power = layout::kPowerSwitch;
    context.drawText("POWER", {power.left - 6, power.bottom, power.right + 6, power.bottom + 11},
                     Align::kCenter, Skin::smallFont(), Skin::kDimText);

    paintMeterSlot(context, layout::kInputMeters[0], "L", true);
    paintMeterSlot(context, layout::kInputMeters[1], "R", true);
    paintMeterSlot(context, layout::kOutputMeters[0], "L", false);
    paintMeterSlot(context, layout::kOutputMeters[1], "R", false);
    paintMeterScale(context, layout::kInputMeters[0], layout::kInputMeters[1]);
    paintMeterScale(context, layout::kOutputMeters[0], layout::kOutputMeters[1]);
    context.drawText("INPUT", {292, 302, 360, 314}, Align::kLeft, Skin::smallFont(),
                     Skin::kDimText);
    context.drawText("OUTPUT", {472, 302, 540, 314}, Align::kRight, Skin::smallFont(),
                     Skin::kDimText);
}

}  // namespace kirra::editor
