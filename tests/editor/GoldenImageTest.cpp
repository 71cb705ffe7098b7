// Each main page rendered offscreen and compared with the stored image.

#include <gtest/gtest.h>

#include <string>

#include "editor/EditorFixture.h"
#include "editor/EditorLayout.h"
#include "editor/GoldenCompare.h"
#include "gui/Image.h"

namespace {

using namespace kirra::editor;

class GoldenImage : public editor_tests::EditorFixture,
                    public ::testing::WithParamInterface<int> {};

TEST_P(GoldenImage, PageLooksAsStored) {
    // Fixed names, whatever the factory banks hold.
    for (int preset = 0; preset < 64; ++preset) {
        std::string name = "Program " + std::to_string(preset + 1);
        plugin().getPrograms().program(0, preset).setName(name.c_str());
    }
    showPage(GetParam());
    kirra::gui::Image image(layout::kWidth, layout::kHeight);
    frame().renderAll(image);
    testing_support::expectLooksAsStored(image, "page" + std::to_string(GetParam()) + ".png");
}

INSTANTIATE_TEST_SUITE_P(MainPages, GoldenImage, ::testing::Values(0, 1, 2, 3));

}  // namespace
