#pragma once
// The LV2 UI: the plug-in's own editor inside the host's window. The host's parent window holds a
// container of ours that the editor opens in, so the host always has our window to size and
// embed, and a later zoom only has to give the container a new size. The UI reaches the engine
// through the instance (instance-access) and tells the host every value the engine changed by
// itself, so that the host's controls and automation follow the editor.

#include <cstdint>
#include <memory>

#include "lv2/PortLayout.h"
#include "lv2/ui/ui.h"

namespace vst {
class AEffEditor;
}

namespace kirra::lv2 {

class Lv2Plugin;

class Lv2Ui {
  public:
    // Null without the parent window, the instance, an editor or a display.
    static std::unique_ptr<Lv2Ui> create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                         LV2UI_Widget* widget, const LV2_Feature* const* features);
    ~Lv2Ui();
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    // On the host's UI thread: hands the engine's changes to the host, follows the editor's size.
    int idle();
    // The host tells the value of one of its ports.
    void portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
    // The host asks for a size; the editor has the one it has (0 when that is the one asked).
    int resizeRequest(int width, int height) const;

  private:
    Lv2Ui(Lv2Plugin& instance, vst::AEffEditor& editor, LV2UI_Write_Function write,
          LV2UI_Controller controller, const LV2UI_Resize* hostResize);
    bool open(unsigned long parentWindow);
    bool editorSize(int& width, int& height) const;
    void followEditorSize();
    static void tellHost(void* context, uint32_t port, float value);

    Lv2Plugin& instance_;
    vst::AEffEditor& editor_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Resize* hostResize_;
    void* display_ = nullptr;  // our own connection, for the container
    unsigned long container_ = 0;
    int width_ = 0;
    int height_ = 0;
    // The bits of each port's value as the host last told or was told it.
    uint32_t hostValues_[kParameterPorts];
};

}  // namespace kirra::lv2
