#pragma once
// TFormPatch: the update dialog. Shows the update's description and lets the user
// download it, open its web page, or close it with or without a later reminder.

#include <QDialog>
#include <functional>

class QPushButton;
class QTextEdit;

namespace update {

struct UpdateOffer;

class TFormPatch : public QDialog {
    Q_OBJECT
public:
    enum Result { Download = 1, RemindLater = 2, DoNotRemind = 3 };

    // `openWeb` opens the web address (the dialog stays open).
    TFormPatch(const UpdateOffer& offer, int language, std::function<void(const QString&)> openWeb,
               QWidget* parent = nullptr);

    QTextEdit* RichEditPatch = nullptr;
    QPushButton *ButtonPatchDownload = nullptr, *ButtonPatchWWW = nullptr, *ButtonPatchCancel1 = nullptr,
                *ButtonPatchCancel = nullptr;
    QString webAddress;
};

}  // namespace update
