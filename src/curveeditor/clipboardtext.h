#pragma once
// The text exchange of the curve editor: the plain tab-separated text that spreadsheets
// and text editors understand, and the self-describing sheet text of the private
// clipboard format. Writers and readers work on the model only; the widget moves the
// texts to and from the system clipboard.

#include <string>
#include <string_view>

#include "curveeditor/model.h"

namespace curveeditor {

// The private format: our own MIME type, and the name Qt registers as a Windows clipboard
// format for it, so that other programs that know "CF_KORVELAN_SHEET" find it there.
constexpr const char* SheetMimeType = "application/x-korvelan-sheet";
constexpr const char* SheetWindowsMimeType = "application/x-qt-windows-mime;value=\"CF_KORVELAN_SHEET\"";

// Readers look at no more than this many bytes; the largest sheet (50 x 30 cells of
// 13 characters, string-view headers of 63) writes well under it.
constexpr std::size_t MaxClipboardText = 128 * 1024;
// A header line of the sheet text longer than this is not a key line.
constexpr std::size_t MaxSheetHeaderLine = 64;
// A number field longer than this is cut.
constexpr std::size_t MaxNumberField = 64;

// Clipboard contents as bits: 1 plain text, 2 sheet text.
enum ClipboardBits : int { ClipboardText = 1, ClipboardSheet = 2 };

struct ClipboardTexts {
    std::string plain;
    std::string sheet;
};

// The selected values (or the selected characters of the in-place entry) as plain text;
// empty when nothing is selected.
std::string CopySelectionText(const TabModel& model);

// The whole current sheet, as the table shows it (plain) and complete (sheet text).
ClipboardTexts CopyTableTexts(const TabModel& model);

// What the header of a sheet text says.
struct SheetTextHeader {
    int sizeX = 0, sizeY = 0;
    bool onlyX = false, onlyY = false;
    int matched = 0;              // AxisX, AxisY, AxisZ: labels equal to the sheet's
    std::size_t gridStart = 0;    // offset of the grid's corner line; size of text when none
};
SheetTextHeader ParseSheetHeader(const CSheet& sheet, std::string_view text);

// Plain paste into the selection (or into the in-place entry); returns whether anything
// was written.
bool PastePlainText(TabModel& model, std::string_view text);

// Sheet paste into the whole current sheet; a size that cannot be taken over is shown in
// the error box. Returns whether anything was written.
bool PasteSheetText(TabModel& model, std::string_view text);

// Paste as the clipboard holds it: a sheet text wins over plain text.
bool PasteTexts(TabModel& model, int clipboardBits, std::string_view plain, std::string_view sheet);

}  // namespace curveeditor
