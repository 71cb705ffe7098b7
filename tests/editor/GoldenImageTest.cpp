// Each main page rendered offscreen at 100 and 200 % and compared with the stored image.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "editor/EditorFixture.h"
#include "editor/EditorLayout.h"
#include "editor/GoldenCompare.h"
#include "gui/Image.h"

namespace {

using namespace kirra::editor;

class GoldenImage : public editor_tests::EditorFixture,
                    public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(GoldenImage, PageLooksAsStored) {
    // Fixed names, whatever the factory banks hold.
    for (int preset = 0; preset < 64; ++preset) {
        std::string name = "Program " + std::to_string(preset + 1);
        plugin().getPrograms().program(0, preset).setName(name.c_str());
    }
    const auto [page, percent] = GetParam();
    showPage(page);
    setZoom(percent);
    testing_support::expectLooksAsStored(
        render(), testing_support::zoomedName("page" + std::to_string(page) + ".png", percent));
}

INSTANTIATE_TEST_SUITE_P(MainPages, GoldenImage,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3),
                                            ::testing::Values(100, 200)));

}  // namespace
