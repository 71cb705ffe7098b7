// Every text of every page and panel, recorded where the views draw it: inside its own view and
// clear of other views' texts at every zoom step, and readable against what lies behind it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "editor/EditorFixture.h"
#include "editor/EditorTags.h"
#include "editor/EditorZoom.h"
#include "editor/Skin.h"
#include "editor/routing/CCordWnd.h"
#include "editor/routing/ModulationPage.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/Image.h"
#include "gui/PointerEvents.h"
#include "modules/ModuleCatalogue.h"

namespace {

using namespace kirra;
using gui::Rect;
using gui::TextDrawn;

class TextLegibility;

// What the editor shows: the four pages, then each module's panel, and over them the lists,
// menus and the pointer's help that open on a click or a rest.
struct Scene {
    std::string name;
    int page = 1;
    int operatorType = -1;
    int modulatorType = -1;
    void (*open)(TextLegibility& test) = nullptr;
};

std::vector<Scene> allScenes() {
    std::vector<Scene> scenes;
    scenes.reserve(4 + kOperatorTypeCount + kModulatorTypeCount);
    for (int page = 0; page < 4; ++page)
        scenes.push_back({"page" + std::to_string(page), page, -1, -1});
    for (int type = 0; type < kOperatorTypeCount; ++type)
        scenes.push_back({operatorCatalogue(type).shortName, 2, type, -1});
    for (int type = 0; type < kModulatorTypeCount; ++type)
        scenes.push_back({modulatorCatalogue(type).shortName, 2, -1, type});
    return scenes;
}

// WCAG relative luminance of a colour.
double luminance(double red, double green, double blue) {
    auto linear = [](double channel) {
        channel /= 255.0;
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
}

double contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The colour most pixels have in a one-pixel ring around the text's ink: what it is drawn on.
uint32_t backgroundAround(const gui::Image& image, const Rect& ink) {
    std::map<uint32_t, int> counts;
    const Rect ring = ink.inset(-1, -1);
    for (int x = ring.left; x < ring.right; ++x) {
        ++counts[image.pixel(x, ring.top)];
        ++counts[image.pixel(x, ring.bottom - 1)];
    }
    for (int y = ring.top; y < ring.bottom; ++y) {
        ++counts[image.pixel(ring.left, y)];
        ++counts[image.pixel(ring.right - 1, y)];
    }
    return std::max_element(counts.begin(), counts.end(),
                            [](auto& a, auto& b) { return a.second < b.second; })
        ->first;
}

class TextLegibility : public editor_tests::EditorFixture {
  public:
    void openTypeList() { click(frame().operatorSelector()->getRect()); }
    void openRoutingChooser() {
        click(frame().findControl(editor::tags::kPredefinedRouting)->getRect());
    }
    void openControllerList() {
        auto& window = *frame().modulationPage()->slotWindow();
        click(window.cellRect(0, editor::CCordWnd::Column::kSource));
        click(window.menuLineRect(2));  // MIDI INPUT
        click(window.menuLineRect(1));  // MIDI CONTROL CHANGE
    }
    void restOnMixKnob() {
        frame().mouseMoved(
            testing_support::mouseAt(testing_support::centreOf(frame().mainKnob(1)->getRect()), 0));
        tick();
        tickAt(nowMs + gui::Frame::kTooltipDelayMs);
        tick();
        ASSERT_TRUE(frame().isTooltipShown());
    }

  protected:
    std::vector<TextDrawn> show(const Scene& scene, int percent, gui::Image* image = nullptr) {
        setZoom(percent);
        if (scene.operatorType >= 0) setOperatorType(scene.operatorType);
        if (scene.modulatorType >= 0) setModulatorType(scene.modulatorType);
        showPage(scene.page);
        if (scene.open != nullptr) scene.open(*this);
        return renderTexts(image);
    }
};

TEST_F(TextLegibility, EveryTextStaysInItsViewAndClearOfOthersAtEveryZoom) {
    for (int step = 0; step < editor::zoom::kSteps; ++step) {
        const int percent = editor::zoom::percentOfStep(step);
        for (const Scene& scene : allScenes()) {
            SCOPED_TRACE(scene.name + " at " + std::to_string(percent) + " %");
            std::vector<TextDrawn> texts = show(scene, percent);
            ASSERT_FALSE(texts.empty());
            for (size_t i = 0; i < texts.size(); ++i) {
                const TextDrawn& text = texts[i];
                ASSERT_NE(text.view, nullptr) << text.text;
                // A pixel of leeway for the rounding of ink to whole pixels.
                const Rect view = text.view->getRect().inset(-1, -1);
                const Rect both = view.united(text.ink);
                EXPECT_TRUE(both.left == view.left && both.right == view.right &&
                            both.top == view.top && both.bottom == view.bottom)
                    << '"' << text.text << "\" leaves its view";
                for (size_t j = i + 1; j < texts.size(); ++j) {
                    if (texts[j].view == text.view) continue;
                    EXPECT_FALSE(text.ink.inset(1, 1).intersects(texts[j].ink.inset(1, 1)))
                        << '"' << text.text << "\" runs into \"" << texts[j].text << '"';
                }
            }
        }
    }
}

TEST_F(TextLegibility, EveryTextReadsAgainstItsBackground) {
    std::vector<Scene> scenes = allScenes();
    scenes.push_back({"type list", 1, -1, -1, [](TextLegibility& test) { test.openTypeList(); }});
    scenes.push_back(
        {"routings", 0, -1, -1, [](TextLegibility& test) { test.openRoutingChooser(); }});
    scenes.push_back(
        {"controllers", 3, -1, -1, [](TextLegibility& test) { test.openControllerList(); }});
    scenes.push_back({"help", 1, -1, -1, [](TextLegibility& test) { test.restOnMixKnob(); }});
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        gui::Image image;
        for (const TextDrawn& text : show(scene, 100, &image)) {
            // Texts a list or the help covers are not seen.
            const gui::View* modal = frame().getModalView();
            const bool inModal =
                modal != nullptr && text.view != nullptr && text.view->isInside(modal);
            if (modal != nullptr && !inModal && text.ink.intersects(modal->getRect())) continue;
            if (text.view != nullptr && frame().isTooltipShown() &&
                text.ink.intersects(frame().tooltipRect()))
                continue;
            const uint32_t behind = backgroundAround(image, text.ink);
            const double alpha = text.color.alpha / 255.0;
            auto blend = [&](int shift, uint8_t channel) {
                return channel * alpha + ((behind >> shift) & 0xFF) * (1.0 - alpha);
            };
            const double ratio =
                contrast(luminance(blend(16, text.color.red), blend(8, text.color.green),
                                   blend(0, text.color.blue)),
                         luminance((behind >> 16) & 0xFF, (behind >> 8) & 0xFF, behind & 0xFF));
            // What is unavailable is drawn greyed and needs less.
            const bool greyed = text.color.red == editor::Skin::kGreyText.red &&
                                text.color.green == editor::Skin::kGreyText.green;
            EXPECT_GE(ratio, greyed ? 3.0 : 4.5) << '"' << text.text << '"';
        }
    }
}

}  // namespace
