// The window's fixed arrangement: the scroll area and its client, the tool strip and the
// curve editor's band, and every part's controls created in the window's order (which is
// also the focus order). The language texts and the parameter set are applied later.

#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>

#include "app/devicepanel.h"
#include "app/filepanel.h"
#include "app/playerpanel.h"
#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "app/placement.h"
#include "util/resourcebitmap.h"

namespace app {
namespace {

constexpr int kClientWidth = 1119;
constexpr int kClientHeight = 951;

}  // namespace

void TMainForm::createControls()
{
    setFont(pixelFont(11));
    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("ScrollArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    client = new QWidget;
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    scrollArea->setWidget(client);
    setCentralWidget(scrollArea);
    QWidget* c = client;

    // Top strip.
    GroupBoxToolBar = group(c, "GroupBoxToolBar", 4, 0, 437, 43);
    QWidget* tb = GroupBoxToolBar;
    file_->createToolButtons(tb);
    binding_->createUndoButtons(tb);
    device_->createToolButtons(tb);

    binding_->createCurveSwitch(c);
    device_->createMessageLabels(c);

    // The curve editor's band: from below the tool strip to just above the base advance.
    const int bandTop = GroupBoxToolBar->geometry().bottom() + 1 + 5;
    curveEditorBand = new QFrame(c);
    static_cast<QFrame*>(curveEditorBand)->setFrameShape(QFrame::StyledPanel);
    place(curveEditorBand, "CurveEditor", 5, bandTop, kClientWidth - 10, (453 - (bandTop - 5)) - 7);
    createCurveEditorControl();
    binding_->createUnknownCurveLabel(c);
    binding_->createSettingColumns(c);

    // Monitor panel, first column.
    device_->createMonitorFirstColumn(c);
    binding_->createPowerOut(c);

    // Monitor panel, second column.
    device_->createMonitorSecondColumn(c);
    binding_->createTestGroup(c);

    // Bottom.
    device_->createTestLabels(c);
    player_ = std::make_unique<PlayerPanel>(client);
    player_->createGroup();

    // Present but never shown in this program.
    LabelVerze1 = label(c, "LabelVerze1", 0, 0, "");
    LabelVerze2 = label(c, "LabelVerze2", 0, 0, "");
    LabelVerze3 = label(c, "LabelVerze3", 0, 0, "");
    LabelVersion = label(c, "LabelVersion", 0, 0, "");
    for (QLabel* hidden : {LabelVerze1, LabelVerze2, LabelVerze3, LabelVersion})
        hidden->hide();

    device_->createStatusBar();
}

}  // namespace app
