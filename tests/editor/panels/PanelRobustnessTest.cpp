// Panels under careless use: every control of every panel pushed past its ends and fed nonsense,
// a module replaced under an open panel, the host changing parameters and types on its own
// thread while audio runs and the editor works, the type list scrolled to its end.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "editor/CModuleParam.h"
#include "editor/EditorFixture.h"
#include "editor/panels/FilterPanel.h"
#include "engine/ParameterIndex.h"
#include "gui/ListMenu.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra;
using editor_tests::PanelFixture;

class PanelRobustness : public PanelFixture {
  protected:
    // Every control of a panel: the wheel far beyond both ends, nonsense typed into fields.
    void abuseControls(editor::ModulePanel& panel) {
        for (int position = 0; position < Module::kMaxPositions; ++position) {
            gui::Control* control = panel.controlAt(position);
            if (control == nullptr) continue;
            const gui::Rect& rect = control->getRect();
            for (float steps : {400.0f, -400.0f, 1e30f}) {
                frame().wheel(editor_tests::mouseAt(rect.left + 2, rect.top + 2), steps);
                const float value = plugin().getParameter(control->getTag());
                ASSERT_TRUE(value >= 0.0f && value <= 1.0f) << "tag " << control->getTag();
            }
            auto* field = dynamic_cast<editor::CModuleParam*>(control);
            if (field == nullptr) continue;
            for (const char* typed : {"", "nonsense", "-1e38", "1e38", "nan", "-oo", "99999k",
                                      "oo:1", ":", "L:", "R:999", "-"}) {
                field->startEntry(typed);
                field->commitEntry();
                const float value = plugin().getParameter(field->getTag());
                ASSERT_TRUE(value >= 0.0f && value <= 1.0f)
                    << "tag " << field->getTag() << " after \"" << typed << "\"";
                ASSERT_FALSE(field->getText().empty()) << "tag " << field->getTag();
            }
        }
    }
};

TEST_F(PanelRobustness, EveryControlStaysInRangeWhateverItIsFed) {
    for (int type = 0; type < kOperatorTypeCount; ++type) {
        setOperatorType(type);
        abuseControls(*frame().operatorPanel());
        tick();
    }
    for (int type = 0; type < kModulatorTypeCount; ++type) {
        setModulatorType(type);
        abuseControls(*frame().modulatorPanel());
        tick();
    }
}

TEST_F(PanelRobustness, APanelWhoseModuleWasReplacedWaitsForItsRebuild) {
    setOperatorType(kFormant);
    editor::ModulePanel* stale = frame().operatorPanel();
    gui::Control* morph = stale->controlAt(0);
    // The host replaces the module; the editor has not taken the change yet.
    plugin().setParameter(param::kOperatorType1, indexToValue(kDelayLine, kModuleTypeStates));
    stale->idle();
    auto* field = dynamic_cast<editor::CModuleParam*>(morph);
    ASSERT_NE(field, nullptr);
    field->refreshText();
    EXPECT_EQ(field->getText(), "");
    stale->parameterChanged(param::operatorParameter(0, 0), 0.5f);
    process(512);
    tick();
    EXPECT_EQ(frame().operatorPanel()->getType(), kDelayLine);
    EXPECT_NE(frame().operatorPanel()->controlAt(8), nullptr);
}

TEST_F(PanelRobustness, APanelRebuiltDuringADragLeavesItsModuleNotEditing) {
    setOperatorType(kBiquad);
    auto isEditing = [this] {
        platform::EngineLock lock(plugin().getEngineMutex());
        return plugin().getOperator(0)->isEditing();
    };
    const gui::Rect rect = frame().operatorPanel()->controlAt(0)->getRect();
    frame().mouseDown(editor_tests::mouseAt(rect.right - 4, rect.top + 4));
    ASSERT_TRUE(isEditing());
    // The host shows the same slot again: the panel is rebuilt under the pointer.
    plugin().setParameter(param::kCurrentOperator, indexToValue(0, 4));
    tick();
    EXPECT_FALSE(isEditing());
    frame().mouseUp(editor_tests::mouseAt(rect.right - 4, rect.top + 4));
}

TEST_F(PanelRobustness, HostThreadAudioAndEditorAllAtOnce) {
    std::atomic<bool> running{true};
    std::thread hostThread([this, &running] {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        while (running) {
            const int which = static_cast<int>(random() % 8);
            if (which == 0) {
                plugin().setParameter(param::kOperatorType1, unit(random) * 0.3f);
            } else if (which == 1) {
                plugin().setParameter(param::kModulatorType1, unit(random) * 0.08f);
            } else if (which == 2) {
                plugin().setParameter(param::kModulationPreview, unit(random));
            } else if (which == 3) {
                plugin().setParameter(param::kSlotDestination1 + static_cast<int>(random() % 16),
                                      unit(random) * 0.3f);
            } else {
                plugin().setParameter(param::operatorParameter(0, static_cast<int>(random() % 16)),
                                      unit(random));
                plugin().setParameter(param::modulatorParameter(0, static_cast<int>(random() % 38)),
                                      unit(random));
            }
        }
    });
    std::thread audioThread([this, &running] {
        while (running)
            process(256, 0.5f);
    });
    for (int round = 0; round < 300; ++round) {
        tick();
        // Pointer activity over both panels while they may be rebuilt under it.
        const int x = 560 + (round * 37) % 200;
        const int y = 60 + (round * 53) % 140;
        frame().mouseDown(editor_tests::mouseAt(x, y));
        frame().mouseMoved(editor_tests::mouseAt(x, y - 20));
        frame().mouseUp(editor_tests::mouseAt(x, y - 20));
        frame().wheel(editor_tests::mouseAt(x - 480, y), 1.0f);
        if (frame().isModalOpen()) frame().closeModal();
    }
    running = false;
    hostThread.join();
    audioThread.join();
    tick();
    SUCCEED();
}

TEST_F(PanelRobustness, TheTypeListScrolledToItsEndOpensTheLastType) {
    const gui::Rect& picker = frame().operatorSelector()->getRect();
    click(picker.left + 100, picker.top + 5);
    auto* list = dynamic_cast<gui::ListMenu*>(frame().getModalView());
    ASSERT_NE(list, nullptr);
    list->scrollTo(1000);
    const gui::Rect last = list->lineRect(list->getVisibleLines() - 1);
    click(last.left + 10, (last.top + last.bottom) / 2);
    EXPECT_EQ(plugin().getOperatorType(0), kFormant);
    tick();
    auto* panel = dynamic_cast<editor::FilterPanel*>(frame().operatorPanel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getType(), kFormant);
}

}  // namespace
