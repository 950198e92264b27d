#pragma once
// The list of differences: the settings that differ between the window and the unit
// (and the open file), each with its values in the user's units, curve points under
// their curve; the unit's value can be taken for one setting or for all.

#include <QDialog>
#include <functional>

#include "params/differences.h"

class QPushButton;
class QTreeWidget;

namespace app {

class TFormDifferences : public QDialog {
    Q_OBJECT
public:
    // Builds the list each time it is shown or changed; `take` applies the unit's values
    // of the given settings to the window.
    using ListSource = std::function<std::vector<params::SettingDifference>()>;
    using Take = std::function<void(const std::vector<params::SettingDifference>&)>;
    TFormDifferences(ListSource source, Take take, QWidget* parent);

    // Rebuilds the list from the source in the current language.
    void refresh();
    const std::vector<params::SettingDifference>& differences() const { return differences_; }
    QTreeWidget* tree() const { return tree_; }
    QPushButton* takeOneButton() const { return takeOne_; }
    QPushButton* takeAllButton() const { return takeAll_; }

private:
    ListSource source_;
    Take take_;
    std::vector<params::SettingDifference> differences_;
    QTreeWidget* tree_;
    QPushButton* takeOne_;
    QPushButton* takeAll_;
    QPushButton* close_;
};

}  // namespace app
