#pragma once
// The text of an in-place number entry: at most 16 characters, a caret and a selection.

#include <string>
#include <string_view>

namespace curveeditor {

struct InPlaceEdit {
    static constexpr int MaxChars = 16;

    int editing = 0;
    int col = -1, row = -1;  // -1 for a header
    std::string text;
    int caret = 0;
    int selStart = 0, selEnd = 0;  // selected characters selStart .. selEnd - 1

    void begin(int column, int rowIndex, std::string initial);
    bool hasSelection() const { return selStart != selEnd; }
    std::string selectedText() const;
    void select(int from, int to);
    // Replaces the selection with `insert`, cut so that the text stays within MaxChars.
    void insert(std::string_view insert);
    void deleteSelection();
    void backspace();
    void deleteForward();
    void moveCaret(int position);
};

}  // namespace curveeditor
