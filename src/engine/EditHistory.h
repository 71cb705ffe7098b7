#pragma once
// Undo and redo of the edits made in the editor, kept beside the program so that any editor or
// plug-in format can use it. A step holds parameter values, never module objects: the program's
// values before and after one gesture (a drag, a typed value, a picked type with the values the
// slot then took, a program load), reduced to the values that changed.
//
// Only gestures are recorded; automation and MIDI change values without opening one. A step is
// applied only to slots that still hold the module types it was recorded with, so an undo
// after the host changed a program, a type or the whole state never puts a value into a module
// of another type. The history runs on the editor's and the host's threads, never on the audio
// thread, and may allocate.

#include <deque>
#include <mutex>
#include <vector>

#include "engine/ParameterIndex.h"

namespace kirra {

class Plugin;

class EditHistory {
  public:
    static constexpr int kMaxSteps = 128;
    static constexpr int kTypedSlots = 2 * param::kSlotCount;  // operators, then modulators

    explicit EditHistory(Plugin& plugin) : plugin_(plugin) {}

    // Gestures nest: the outermost one records a step when it ends, if anything changed.
    void beginGesture();
    void endGesture();
    // Opens a gesture for the lifetime of a scope.
    class Gesture {
      public:
        explicit Gesture(EditHistory& history) : history_(history) { history_.beginGesture(); }
        ~Gesture() { history_.endGesture(); }
        Gesture(const Gesture&) = delete;
        Gesture& operator=(const Gesture&) = delete;

      private:
        EditHistory& history_;
    };

    // A switch between the A and B programs, done: one step, undone by switching back.
    void recordSwap();

    bool canUndo() const;
    bool canRedo() const;
    int undoSteps() const;
    // False when there was nothing to undo or redo.
    bool undo();
    bool redo();
    void clear();

  private:
    struct Change {
        int index;
        float before;
        float after;
    };
    struct Step {
        bool swap = false;  // an A/B switch rather than values
        std::vector<Change> changes;
        int typesBefore[kTypedSlots] = {};
        int typesAfter[kTypedSlots] = {};
        // The current program (bank * 64 + number): a load from the editor changes it.
        int programBefore = 0;
        int programAfter = 0;
    };
    // The program's values, then the current program's number.
    using Values = std::vector<float>;

    Values readProgram() const;
    void record(const Values& before, const Values& after);
    void push(Step step);
    // Applies the newest step of `from` (forward: as recorded) and moves it over to `to`.
    bool move(std::deque<Step>& from, std::deque<Step>& to, bool forward);
    void apply(const Step& step, bool forward);
    void applyLocked(const Step& step, bool forward, std::vector<Change>& written);

    Plugin& plugin_;
    mutable std::mutex mutex_;
    int depth_ = 0;
    Values gestureStart_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
};

}  // namespace kirra
