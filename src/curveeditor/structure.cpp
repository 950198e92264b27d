// Inserting and removing columns and rows. A linked sheet's followers get the same
// structural edit without permission checks or announcements.

#include <algorithm>
#include <span>

#include "curveeditor/model.h"
#include "lang/langtext.h"
#include "lang/messagebox.h"

namespace curveeditor {
namespace {

constexpr const char* ColumnsFullText =
    "###Column count is on maximum !\nDelete some first...##Spaltenanzahl ist auf maximal !\nLöschen einige "
    "erste...##Dosaženo maximálního počtu sloupců !\nNejprve nějaký vymažte...";
constexpr const char* RowsFullText =
    "###Row count is on maximum !\nDelete some first...##Zeilenanzahl ist auf maximal !\nLöschen einige "
    "erste...##Dosaženo maximálního počtu řádků !\nNejprve nějaký vymažte...";

// Cell (slot, across) of a column edit, or (across, slot) of a row edit.
int& cellAt(CSheet& s, bool columns, int slot, int across)
{
    return columns ? s.cell(slot, across) : s.cell(across, slot);
}

std::uint16_t& cellMarkAt(CSheet& s, bool columns, int slot, int across)
{
    return s.sel.cellMarks[std::size_t(columns ? cellIndex(slot, across) : cellIndex(across, slot))];
}

int acrossCount(bool columns) { return columns ? MaxRows : MaxCols; }

}  // namespace

void TabModel::insertSlot(CSheet& s, bool columns, int p)
{
    CAxe& a = columns ? s.x : s.y;
    std::vector<int>& v = a.values;
    for (int i = a.count; i > p; --i) {
        v[std::size_t(i)] = v[std::size_t(i - 1)];
        for (int k = 0; k < acrossCount(columns); ++k)
            cellAt(s, columns, i, k) = cellAt(s, columns, i - 1, k);
    }
    ++a.count;
    const int last = a.count - 1;
    const int left = p == 0 ? p + 1 : p - 1;
    const int right = p == last ? p - 1 : p + 1;
    // A slot appended at the end keeps the higher value it still holds, so a column
    // removed from the end comes back with its old speed.
    if (p != last || !(v[std::size_t(p)] > v[std::size_t(p - 1)]))
        v[std::size_t(p)] = (v[std::size_t(left)] + v[std::size_t(right)]) / 2;
    for (int k = 0; k < acrossCount(columns); ++k)
        cellAt(s, columns, p, k) = (cellAt(s, columns, left, k) + cellAt(s, columns, right, k)) / 2;
}

void TabModel::removeSlot(CSheet& s, bool columns, int p)
{
    CAxe& a = columns ? s.x : s.y;
    const std::span<std::uint16_t> headerMarks =
        columns ? std::span<std::uint16_t>(s.sel.colMarks) : std::span<std::uint16_t>(s.sel.rowMarks);
    for (int i = p; i + 1 < int(headerMarks.size()); ++i) {
        if (i + 1 < a.count)
            a.values[std::size_t(i)] = a.values[std::size_t(i + 1)];
        headerMarks[std::size_t(i)] = headerMarks[std::size_t(i + 1)];
        for (int k = 0; k < acrossCount(columns); ++k) {
            if (i + 1 < a.count)
                cellAt(s, columns, i, k) = cellAt(s, columns, i + 1, k);
            cellMarkAt(s, columns, i, k) = cellMarkAt(s, columns, i + 1, k);
        }
    }
    headerMarks.back() = 0;
    for (int k = 0; k < acrossCount(columns); ++k)
        cellMarkAt(s, columns, int(headerMarks.size()) - 1, k) = 0;
    --a.count;
}

void TabModel::forEachFollower(const CSheet& leader, const std::function<void(CSheet&)>& action)
{
    if (leader.linkId == 0)
        return;
    for (int i = 0; i < sheetCount; ++i) {
        CSheet& other = sheets[std::size_t(i)];
        if (&other != &leader && other.followerOf == leader.linkId)
            action(other);
    }
}

void TabModel::selectNewSlot(bool columns, int p)
{
    CSheet& s = *sheet;
    const CAxe& other = columns ? s.y : s.x;
    for (int k = 0; k < other.count; ++k)
        if (!other.sliced || k == other.sliceIndex)
            cellMarkAt(s, columns, p, k) = MarkGesture;
    s.sel.UpdateBounds();
    s.sel.Finish();
    s.sel.hitCol = s.sel.endCol = columns ? p : -1;
    s.sel.hitRow = s.sel.endRow = columns ? -1 : p;
    ScrollToSelection();
}

bool TabModel::InsertAt(bool columns, int p)
{
    if (!sheet)
        return false;
    CSheet& s = *sheet;
    CAxe& a = columns ? s.x : s.y;
    const bool follower = s.followerOf != 0;
    if (p < 0 || p > a.count)
        return false;
    if (!follower && !a.resizable)
        return false;
    if (a.count >= a.maxCount) {
        if (!follower)
            lang::showError(lang::LangText(columns ? ColumnsFullText : RowsFullText).pick());
        return false;
    }
    if (!follower)
        Change(0, BeginKey);
    s.sel.Clear();
    insertSlot(s, columns, p);
    if (!follower)
        Relayout();
    selectNewSlot(columns, p);
    forEachFollower(s, [&](CSheet& other) {
        CAxe& axis = columns ? other.x : other.y;
        if (axis.count < axis.maxCount && p <= axis.count) {
            insertSlot(other, columns, p);
            CheckSheet(other, columns ? AxisX : AxisY);
        }
    });
    Change(columns ? AxisX | AxisZ : AxisY | AxisZ, EndKey);
    Relayout();
    dirty |= DirtyRenderNow;
    return true;
}

bool TabModel::RemoveAt(bool columns, int p)
{
    if (!sheet)
        return false;
    CSheet& s = *sheet;
    CAxe& a = columns ? s.x : s.y;
    if (!(s.followerOf != 0 || a.resizable) || a.sliced || a.count <= a.minCount || p < 0 || p >= a.count)
        return false;
    Change(0, BeginKey);
    removeSlot(s, columns, p);
    Relayout();
    forEachFollower(s, [&](CSheet& other) {
        CAxe& axis = columns ? other.x : other.y;
        if (axis.count > axis.minCount && p < axis.count) {
            removeSlot(other, columns, p);
            CheckSheet(other, columns ? AxisX : AxisY);
        }
    });
    // The group stays open: the caller's end, or the deferred flush, announces it.
    Change(columns ? AxisX | AxisZ : AxisY | AxisZ, BeginKey);
    return true;
}

void TabModel::DeleteSelected(bool columns)
{
    if (!sheet)
        return;
    CSheet& s = *sheet;
    CAxe& a = columns ? s.x : s.y;
    const CAxe& other = columns ? s.y : s.x;
    if (!a.resizable || a.sliced)
        return;
    const auto fullySelected = [&](int slot) {
        for (int k = 0; k < other.count; ++k)
            if ((!other.sliced || k == other.sliceIndex) && !(cellMarkAt(s, columns, slot, k) & MarkSelected))
                return false;
        return true;
    };
    const auto headerSelected = [&](int slot) {
        return (s.sel.MarkAt(columns ? slot : -1, columns ? -1 : slot) & MarkSelected) != 0;
    };
    const int headerKind = columns ? 2 : 4;
    if (s.sel.kind != 1 && s.sel.kind != headerKind)
        return;
    const bool byCells = s.sel.kind == 1;
    for (;;) {
        int target = -1;
        for (int i = 0; i < a.count && target < 0; ++i)
            if (byCells ? fullySelected(i) : headerSelected(i))
                target = i;
        if (target < 0 || !RemoveAt(columns, target))
            break;
    }
    s.sel.UpdateBounds();
    s.sel.Finish();
    Change(0, EndKey);
    if (dirty & DirtyRepaint)
        dirty |= DirtyRenderNow;
}

}  // namespace curveeditor
