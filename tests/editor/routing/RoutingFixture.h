#pragma once
// The editor on the neutral program, for the routing pages, with a record of the edit gestures
// the host is told about.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "editor/EditorFixture.h"
#include "editor/routing/CCordWnd.h"
#include "editor/routing/ModulationPage.h"
#include "engine/FlatProgram.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
#include "vst/VstApi.h"

namespace editor_tests {

struct RoutingFixture : EditorFixture {
    RoutingFixture() {
        host->script().extra = [this](int32_t opcode, int32_t index, intptr_t, void*, intptr_t&) {
            if (opcode == vst::audioMasterBeginEdit) gestures.emplace_back(index, true);
            if (opcode == vst::audioMasterEndEdit) gestures.emplace_back(index, false);
            return false;
        };
        // The neutral program, whatever the factory banks hold: a serial chain, no slots used.
        constexpr kirra::ProgramValues flat = kirra::flatProgramValues();
        for (int index = 0; index < kirra::param::kProgramParameterCount; ++index)
            plugin().setParameter(index, flat.values[index]);
    }

    // The modulation page's slot list, on the page shown.
    kirra::editor::CCordWnd& slotWindow() { return *frame().modulationPage()->slotWindow(); }
    void doubleClick(const kirra::gui::Rect& rect) {
        testing_support::click(frame(), mouseAt(centreOf(rect), kirra::gui::kLeftButton, 0, true));
    }
    // Dragged vertically by dy pixels.
    void drag(kirra::gui::Point from, int dy, int modifiers = 0) {
        EditorFixture::drag(from.x, from.y, from.x, from.y + dy, modifiers);
    }

    // The host was told first that an edit of the parameter began, and last that it ended.
    void expectOneGesture(int index) {
        ASSERT_GE(gestures.size(), 2u);
        EXPECT_EQ(gestures.front(), std::make_pair(index, true));
        EXPECT_EQ(gestures.back(), std::make_pair(index, false));
    }

    std::vector<std::pair<int, bool>> gestures;  // parameter, true for a begin
};

}  // namespace editor_tests
