// Each main page rendered offscreen and compared with the stored image.

#include <gtest/gtest.h>

#include <string>

#include "editor/Editor.h"
#include "editor/EditorLayout.h"
#include "editor/GoldenCompare.h"
#include "editor/KirraFrame.h"
#include "engine/ParameterIndex.h"
#include "gui/Image.h"
#include "modules/ModuleMath.h"
#include "support/InProcessHost.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;

kirra::gui::Image renderPage(int page) {
    testing_support::InProcessHost host;
    auto* editor = new Editor(host.plugin());
    host.plugin().attachEditor(editor, editor);
    // Fixed names, whatever the factory banks hold.
    for (int preset = 0; preset < 64; ++preset) {
        std::string name = "Program " + std::to_string(preset + 1);
        host.plugin().getPrograms().program(0, preset).setName(name.c_str());
    }
    host.plugin().setParameter(param::kCurrentMain, kirra::indexToValue(page, 4));
    editor->openOffscreen();
    kirra::gui::Image image(layout::kWidth, layout::kHeight);
    editor->getFrame()->renderAll(image);
    return image;
}

class GoldenImage : public ::testing::TestWithParam<int> {};

TEST_P(GoldenImage, PageLooksAsStored) {
    const int page = GetParam();
    testing_support::expectLooksAsStored(renderPage(page), "page" + std::to_string(page) + ".png");
}

INSTANTIATE_TEST_SUITE_P(MainPages, GoldenImage, ::testing::Values(0, 1, 2, 3));

}  // namespace
