#pragma once
// Undo history: a ring of 200 whole parameter sets. `current` is the step that equals
// the shown set; undo walks back towards `oldest`, redo forward towards `newest`.

#include <array>
#include <cstdint>

#include "params/parameterset.h"

namespace params {

class UndoRing {
public:
    static constexpr int kSteps = 200;
    using ChangedFlags = std::array<std::uint8_t, kParameterCount>;

    // Forgets the history: `set` becomes the only step; the flags are cleared.
    void reset(const ParameterSet& set, ChangedFlags& changed);
    // Stores `set` as a new step when it differs from the current one (marking the
    // differing bytes); drops whatever could be redone. Returns whether a step was stored.
    bool snapshot(const ParameterSet& set, ChangedFlags& changed);
    // Move one step and restore it into `set`, marking the restored bytes. Return
    // whether any byte of `set` changed; false too when there is no step to go to.
    bool undo(ParameterSet& set, ChangedFlags& changed);
    bool redo(ParameterSet& set, ChangedFlags& changed);

    bool canUndo() const { return current_ != oldest_; }
    bool canRedo() const { return current_ != newest_; }

private:
    static int next(int position) { return (position + 1) % kSteps; }
    static int previous(int position) { return (position + kSteps - 1) % kSteps; }
    bool restore(ParameterSet& set, ChangedFlags& changed) const;

    std::array<ParameterSet, kSteps> steps_{};
    int oldest_ = 0;
    int current_ = 0;
    int newest_ = 0;
};

}  // namespace params
