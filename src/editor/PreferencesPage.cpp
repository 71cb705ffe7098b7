#include "editor/PreferencesPage.h"

#include <cstring>
#include <memory>

#include "editor/CCaption.h"
#include "editor/CModuleParam.h"
#include "editor/CModuleParamDiscreet.h"
#include "editor/CTextButton.h"
#include "editor/CTextPrinter.h"
#include "editor/EditorTags.h"
#include "editor/EditorZoom.h"
#include "engine/ParameterDescription.h"

namespace kirra::editor {

using gui::Rect;

namespace {

constexpr int kLineHeight = 11;
constexpr int kNameWidth = 120;
constexpr int kZoomNameWidth = 60;

struct Item {
    const char* heading;  // the section the item stands in
    const char* caption;
    int parameter;
};

constexpr const char* kLimiterHeading = "OUTPUT PEAK LIMITER:";
constexpr const char* kTempoHeading = "GLOBAL TEMPO SETTINGS:";
constexpr const char* kMeteringHeading = "METERING:";

constexpr Item kItems[] = {
    {kLimiterHeading, "limiting mode", param::kOutLimiter},
    {kTempoHeading, "current tempo", param::kTempo},
    {kTempoHeading, "lock tempo to host", param::kTempoSync},
    {kTempoHeading, "song position offset", param::kPpqOffset},
    {kMeteringHeading, "fallback speed", param::kMeterFalloff},
    {kMeteringHeading, "peak hold time", param::kMeterHold},
};

class Heading : public gui::View {
  public:
    Heading(const Rect& rect, const char* text) : View(rect), text_(text) {}
    void draw(gui::DrawContext& context) override {
        CTextPrinter::print(context, text_, getRect(), gui::Align::kLeft,
                            CTextPrinter::Style::kDimmed, Skin::captionFont());
    }

  private:
    const char* text_;
};

}  // namespace

PreferencesPage::PreferencesPage(const Rect& rect, gui::ControlListener* listener,
                                 ValueTextSource& texts, const ParameterReader& values)
    : ViewContainer(rect) {
    const int left = rect.left + 2;
    const int right = rect.right - 2;
    int y = rect.top;
    addView(std::make_unique<CCaption>(Rect{left, y, right, y + 12}, "PREFERENCES"));
    y += 16;
    auto heading = [&](const char* text) {
        addView(std::make_unique<Heading>(Rect{left, y, right, y + kLineHeight}, text));
        y += kLineHeight;
    };
    auto field = [&](const char* caption, int index) {
        auto control =
            std::make_unique<CModuleParam>(Rect{left + 6, y, right, y + kLineHeight}, listener,
                                           index, caption, &texts, index, kNameWidth - 6);
        control->setValue(values(index));
        addView(std::move(control));
        y += kLineHeight;
    };
    auto choice = [&](const char* caption, int index, int states, int available) {
        auto control = std::make_unique<CModuleParamDiscreet>(
            Rect{left + 6, y, right, y + kLineHeight}, listener, index, caption, &texts, index,
            states, available, kNameWidth - 6);
        control->setValue(values(index));
        addView(std::move(control));
        y += kLineHeight;
    };
    const char* lastHeading = nullptr;
    for (const Item& entry : kItems) {
        if (lastHeading == nullptr || std::strcmp(lastHeading, entry.heading) != 0) {
            if (lastHeading != nullptr) y += 4;
            heading(entry.heading);
            lastHeading = entry.heading;
        }
        // A parameter with a few named states is chosen from a list, the others are typed.
        const ParameterDescriptor& row = describeParameter(entry.parameter);
        if (row.offeredStates > 0) {
            choice(entry.caption, entry.parameter, row.states, row.offeredStates);
        } else {
            field(entry.caption, entry.parameter);
        }
    }
    y += 5;
    // The editor's own zoom shares the last line with the button: it is the user's, not the
    // program's, and the page has no room for a heading of its own.
    auto zoomChoice = std::make_unique<CModuleParamDiscreet>(
        Rect{left + 6, y + 1, right - 106, y + 1 + kLineHeight}, listener, tags::kZoom,
        "editor zoom", &texts, tags::kZoom, zoom::kSteps, zoom::kSteps, kZoomNameWidth);
    zoomChoice->setValue(values(tags::kZoom));
    addView(std::move(zoomChoice));
    auto save = std::make_unique<CTextButton>(Rect{right - 100, y, right, y + 13}, listener,
                                              tags::kSaveAsDefault, "SAVE AS DEFAULT");
    save->setValue(values(tags::kSaveAsDefault));
    addView(std::move(save));
}

}  // namespace kirra::editor
