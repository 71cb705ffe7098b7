#pragma once
// The editor on a real plug-in, opened offscreen on one of the routing pages, with pointer
// helpers and a record of the edit gestures the host is told about.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "editor/Editor.h"
#include "editor/KirraFrame.h"
#include "engine/FlatProgram.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
#include "support/InProcessHost.h"
#include "vst/VstApi.h"

namespace testing_support {

struct RoutingFixture : ::testing::Test {
    RoutingFixture() {
        host.plugin().attachEditor(editor, editor);
        host.script().extra = [this](int32_t opcode, int32_t index, intptr_t, void*, intptr_t&) {
            if (opcode == vst::audioMasterBeginEdit) gestures.emplace_back(index, true);
            if (opcode == vst::audioMasterEndEdit) gestures.emplace_back(index, false);
            return false;
        };
        // The neutral program, whatever the factory banks hold: a serial chain, no slots used.
        constexpr kirra::ProgramValues flat = kirra::flatProgramValues();
        for (int index = 0; index < kirra::param::kProgramParameterCount; ++index)
            host.plugin().setParameter(index, flat.values[index]);
    }

    void showPage(int page) {
        host.plugin().setParameter(kirra::param::kCurrentMain, kirra::indexToValue(page, 4));
        ASSERT_TRUE(editor->openOffscreen());
    }
    kirra::editor::KirraFrame& frame() { return *editor->getFrame(); }
    // The editor's periodic work, as its window thread runs it.
    void tick() { editor->tick(nowMs += 50); }

    static kirra::gui::MouseEvent at(kirra::gui::Point where, int buttons = kirra::gui::kLeftButton,
                                     int modifiers = 0) {
        kirra::gui::MouseEvent event;
        event.where = where;
        event.buttons = buttons;
        event.modifiers = modifiers;
        return event;
    }
    static kirra::gui::Point centreOf(const kirra::gui::Rect& rect) {
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    void click(kirra::gui::Point where, int buttons = kirra::gui::kLeftButton) {
        frame().mouseDown(at(where, buttons));
        frame().mouseUp(at(where, buttons));
    }
    void click(const kirra::gui::Rect& rect, int buttons = kirra::gui::kLeftButton) {
        click(centreOf(rect), buttons);
    }
    void doubleClick(const kirra::gui::Rect& rect) {
        kirra::gui::MouseEvent event = at(centreOf(rect));
        event.doubleClick = true;
        frame().mouseDown(event);
        frame().mouseUp(event);
    }
    void drag(kirra::gui::Point from, int dy, int modifiers = 0) {
        frame().mouseDown(at(from, kirra::gui::kLeftButton, modifiers));
        frame().mouseMoved(at({from.x, from.y + dy / 2}, kirra::gui::kLeftButton, modifiers));
        frame().mouseMoved(at({from.x, from.y + dy}, kirra::gui::kLeftButton, modifiers));
        frame().mouseUp(at({from.x, from.y + dy}, kirra::gui::kLeftButton, modifiers));
    }
    void type(const char* text) {
        for (const char* c = text; *c != 0; ++c) {
            kirra::gui::KeyEvent key;
            key.key = kirra::gui::Key::kCharacter;
            key.character = static_cast<unsigned char>(*c);
            frame().keyDown(key);
        }
        kirra::gui::KeyEvent enter;
        enter.key = kirra::gui::Key::kReturn;
        frame().keyDown(enter);
    }
    bool automated(int index) {
        for (const auto& record : host.script().automation) {
            if (record.first == index) return true;
        }
        return false;
    }
    float value(int index) { return host.plugin().getParameter(index); }
    int state(int index, int states) { return kirra::valueToIndex(value(index), states); }
    void setState(int index, int state, int states) {
        host.plugin().setParameter(index, kirra::indexToValue(state, states));
    }

    InProcessHost host;
    // Owned by the plug-in from attachEditor on.
    kirra::editor::Editor* editor = new kirra::editor::Editor(host.plugin());
    std::vector<std::pair<int, bool>> gestures;  // parameter, true for a begin
    int64_t nowMs = 0;
};

}  // namespace testing_support
