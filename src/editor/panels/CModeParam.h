#pragma once
// A value field whose text depends on the choice of another parameter of its module: a time in
// milliseconds or as a note value by a mode switch, a Q by a band's shape, a ratio by a curve
// type. The panel hands it that choice as it changes; the field then asks for its text again.

#include "editor/CModuleParam.h"

namespace kirra::editor {

class CModeParam : public CModuleParam {
  public:
    using CModuleParam::CModuleParam;

    int getGoverningChoice() const { return choice_; }

  protected:
    void setGoverningChoice(int choice) {
        if (choice == choice_) return;
        choice_ = choice;
        refreshText();
    }

  private:
    int choice_ = -1;
};

}  // namespace kirra::editor
