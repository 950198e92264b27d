#include <algorithm>

#include "curveeditor/inplaceedit.h"

namespace curveeditor {

void InPlaceEdit::begin(int column, int rowIndex, std::string initial)
{
    col = column;
    row = rowIndex;
    text = std::move(initial);
    if (text.size() > std::size_t(MaxChars))
        text.resize(MaxChars);
    caret = int(text.size());
    selStart = selEnd = caret;
    editing = 1;
}

std::string InPlaceEdit::selectedText() const
{
    return text.substr(std::size_t(std::min(selStart, selEnd)), std::size_t(std::abs(selEnd - selStart)));
}

void InPlaceEdit::select(int from, int to)
{
    const int size = int(text.size());
    selStart = std::clamp(std::min(from, to), 0, size);
    selEnd = std::clamp(std::max(from, to), 0, size);
    caret = selEnd;
}

void InPlaceEdit::deleteSelection()
{
    if (!hasSelection())
        return;
    const int from = std::min(selStart, selEnd);
    text.erase(std::size_t(from), std::size_t(std::abs(selEnd - selStart)));
    caret = selStart = selEnd = from;
}

void InPlaceEdit::insert(std::string_view insert)
{
    deleteSelection();
    const std::size_t room = std::size_t(MaxChars) - std::min(text.size(), std::size_t(MaxChars));
    insert = insert.substr(0, room);
    caret = std::clamp(caret, 0, int(text.size()));
    text.insert(std::size_t(caret), insert);
    caret += int(insert.size());
    selStart = selEnd = caret;
}

void InPlaceEdit::backspace()
{
    if (hasSelection())
        return deleteSelection();
    if (caret > 0 && caret <= int(text.size())) {
        text.erase(std::size_t(caret - 1), 1);
        --caret;
    }
    selStart = selEnd = caret;
}

void InPlaceEdit::deleteForward()
{
    if (hasSelection())
        return deleteSelection();
    if (caret >= 0 && caret < int(text.size()))
        text.erase(std::size_t(caret), 1);
    selStart = selEnd = caret;
}

void InPlaceEdit::moveCaret(int position)
{
    caret = std::clamp(position, 0, int(text.size()));
    selStart = selEnd = caret;
}

}  // namespace curveeditor
