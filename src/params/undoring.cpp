#include "params/undoring.h"

namespace params {
namespace {

// Marks every byte where `a` and `b` differ; returns whether any does.
bool markDifferences(const ParameterSet& a, const ParameterSet& b, UndoRing::ChangedFlags& changed)
{
    bool any = false;
    for (int i = 0; i < kParameterCount; ++i)
        if (a[i] != b[i]) {
            changed[std::size_t(i)] = 1;
            any = true;
        }
    return any;
}

}  // namespace

void UndoRing::reset(const ParameterSet& set, ChangedFlags& changed)
{
    oldest_ = current_ = newest_ = 0;
    steps_[0] = set;
    changed.fill(0);
}

bool UndoRing::snapshot(const ParameterSet& set, ChangedFlags& changed)
{
    if (!markDifferences(set, steps_[std::size_t(current_)], changed))
        return false;
    current_ = next(current_);
    newest_ = current_;
    if (current_ == oldest_)
        oldest_ = next(oldest_);
    steps_[std::size_t(current_)] = set;
    return true;
}

bool UndoRing::restore(ParameterSet& set, ChangedFlags& changed) const
{
    const ParameterSet& step = steps_[std::size_t(current_)];
    const bool any = markDifferences(set, step, changed);
    set = step;
    return any;
}

bool UndoRing::undo(ParameterSet& set, ChangedFlags& changed)
{
    if (!canUndo())
        return false;
    current_ = previous(current_);
    return restore(set, changed);
}

bool UndoRing::redo(ParameterSet& set, ChangedFlags& changed)
{
    if (!canRedo())
        return false;
    current_ = next(current_);
    return restore(set, changed);
}

}  // namespace params
