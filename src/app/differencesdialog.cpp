// The list of differences as a tree: single settings at the top level, a curve's
// settings under the curve's title.

#include "app/differencesdialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "lang/langtext.h"

namespace app {
namespace {

QString text(const char* langText)
{
    const std::string_view s = lang::LangText(langText).pick();
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString qstr(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

constexpr int kIndexRole = Qt::UserRole;

}  // namespace

TFormDifferences::TFormDifferences(ListSource source, Take take, QWidget* parent)
    : QDialog(parent), source_(std::move(source)), take_(std::move(take))
{
    setObjectName(QStringLiteral("FormDifferences"));
    tree_ = new QTreeWidget(this);
    tree_->setColumnCount(4);
    tree_->setRootIsDecorated(true);
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    takeOne_ = new QPushButton(this);
    takeAll_ = new QPushButton(this);
    close_ = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(takeOne_);
    buttons->addWidget(takeAll_);
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(takeOne_, &QPushButton::clicked, this, [this] {
        std::vector<params::SettingDifference> chosen;
        for (const QTreeWidgetItem* item : tree_->selectedItems()) {
            const int at = item->data(0, kIndexRole).toInt();
            if (at >= 0 && at < int(differences_.size()) && differences_[std::size_t(at)].unitDiffers)
                chosen.push_back(differences_[std::size_t(at)]);
        }
        if (!chosen.empty())
            take_(chosen);
        refresh();
    });
    connect(takeAll_, &QPushButton::clicked, this, [this] {
        std::vector<params::SettingDifference> chosen;
        for (const params::SettingDifference& d : differences_)
            if (d.unitDiffers)
                chosen.push_back(d);
        if (!chosen.empty())
            take_(chosen);
        refresh();
    });
    connect(tree_, &QTreeWidget::itemSelectionChanged, this,
            [this] { takeOne_->setEnabled(!tree_->selectedItems().isEmpty()); });
}

void TFormDifferences::refresh()
{
    differences_ = source_();
    setWindowTitle(text("###Differences##Unterschiede##Rozdíly"));
    tree_->setHeaderLabels({text("###Setting##Einstellung##Nastavení"), text("###PC##PC##PC"),
                            text("###Unit##Einheit##Jednotka"), text("###File##Datei##Soubor")});
    takeOne_->setText(text("###Take the unit's value##Wert der Einheit übernehmen##Převzít hodnotu z jednotky"));
    takeAll_->setText(text("###Take all the unit's values##Alle Werte der Einheit übernehmen##Převzít všechny hodnoty z jednotky"));
    close_->setText(text("###Close##Schließen##Zavřít"));
    tree_->clear();
    bool anyFile = false, anyUnit = false;
    QTreeWidgetItem* group = nullptr;
    std::string groupName;
    for (std::size_t i = 0; i < differences_.size(); ++i) {
        const params::SettingDifference& d = differences_[i];
        if (d.group != groupName) {
            groupName = d.group;
            group = nullptr;
            if (!groupName.empty()) {
                group = new QTreeWidgetItem(tree_, {qstr(groupName)});
                group->setData(0, kIndexRole, -1);
                group->setFlags(Qt::ItemIsEnabled);
                group->setExpanded(true);
            }
        }
        const QStringList columns{qstr(d.name), qstr(d.windowValue), d.unitDiffers ? qstr(d.unitValue) : QString(),
                                  d.fileDiffers ? qstr(d.fileValue) : QString()};
        auto* item = group ? new QTreeWidgetItem(group, columns) : new QTreeWidgetItem(tree_, columns);
        item->setData(0, kIndexRole, int(i));
        anyFile |= d.fileDiffers;
        anyUnit |= d.unitDiffers;
    }
    if (differences_.empty()) {
        auto* none = new QTreeWidgetItem(tree_, {text("###No differences##Keine Unterschiede##Žádné rozdíly")});
        none->setData(0, kIndexRole, -1);
        none->setFlags(Qt::ItemIsEnabled);
    }
    tree_->setColumnHidden(3, !anyFile);
    tree_->expandAll();
    for (int c = 0; c < 4; ++c)
        tree_->resizeColumnToContents(c);
    takeAll_->setEnabled(anyUnit);
    takeOne_->setEnabled(!tree_->selectedItems().isEmpty());
}

}  // namespace app
