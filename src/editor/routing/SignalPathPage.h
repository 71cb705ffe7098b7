#pragma once
// Main page 0, "OPERATOR CONFIGURATION": two views under two tabs. Connections: the routing gains
// as a table from each source (the input and the four operators) to each destination (the four
// operators and the output), the operators' own blocks on its diagonal, the dry-path delay and
// the predefined routings. Configuration: per operator, mid/side coding of its input and output
// and the inversion of its output. Both views exist while the page does; the tabs show one.

#include <functional>

#include "editor/ParameterReader.h"
#include "gui/Control.h"
#include "gui/ViewContainer.h"

namespace kirra::editor {

class CMatrixPage;
class ConfigurationView;
class ConnectionsView;

class SignalPathPage : public gui::ViewContainer {
  public:
    // Where the predefined routings open: a grid of diagrams over the main section, wider than
    // the page so that each diagram stays readable.
    static constexpr gui::Rect kChooserArea{174, 34, 658, 292};

    // `view` the tab shown first.
    SignalPathPage(const gui::Rect& rect, gui::ControlListener* listener,
                   const ParameterReader& values, std::function<float()> sampleRate, int view);

    int getView() const { return view_; }
    void showView(int view);
    ConnectionsView* connectionsView() const { return connections_; }
    ConfigurationView* configurationView() const { return configuration_; }
    CMatrixPage* tabs() const { return tabs_; }

    // A parameter of the page changed: routing gains, dry delay, coding and inversion masks,
    // operator bypass.
    void parameterChanged(int index, float value);
    void setBlinkPhase(int phase);

  private:
    int view_;
    CMatrixPage* tabs_ = nullptr;
    ConnectionsView* connections_ = nullptr;
    ConfigurationView* configuration_ = nullptr;
};

}  // namespace kirra::editor
