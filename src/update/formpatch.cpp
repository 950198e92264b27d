#include "update/formpatch.h"

#include <QPushButton>
#include <QTextEdit>

#include "lang/langtext.h"
#include "update/patchdescription.h"
#include "update/rtf.h"

namespace update {
namespace {

QPushButton* button(QWidget* parent, const char* name, const char* text, int x, int y, int w)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 25);
    return b;
}

}  // namespace

TFormPatch::TFormPatch(const UpdateOffer& offer, int language, std::function<void(const QString&)> openWeb,
                       QWidget* parent)
    : QDialog(parent), webAddress(QString::fromStdString(offer.webAddress))
{
    setObjectName(QStringLiteral("FormPatch"));
    setModal(true);
    setFixedSize(667, 475);
    const bool czech = language == lang::Czech;
    setWindowTitle(czech ? QStringLiteral("Aktualizace") : QStringLiteral("Update"));

    RichEditPatch = new QTextEdit(this);
    RichEditPatch->setObjectName(QStringLiteral("RichEditPatch"));
    RichEditPatch->setGeometry(8, 8, 651, 420);
    RichEditPatch->setReadOnly(true);
    if (offer.richText)
        RichEditPatch->setHtml(QString::fromStdString(rtfToHtml(offer.description)));
    else
        RichEditPatch->setPlainText(QString::fromStdString(plainTextToUtf8(offer.description)));

    ButtonPatchDownload = button(this, "ButtonPatchDownload", czech ? "Stáhni aktualizaci" : "Download update", 8,
                                 440, 140);
    ButtonPatchWWW = button(this, "ButtonPatchWWW", czech ? "jdi na WWW" : "go to WWW", 156, 440, 100);
    ButtonPatchCancel1 = button(this, "ButtonPatchCancel1",
                                czech ? "Zpět (nepřipomínej tuto aktualizaci)" : "Cancel (don't remind this update)",
                                264, 440, 230);
    ButtonPatchCancel = button(this, "ButtonPatchCancel",
                               czech ? "Zpět (připomeň příště)" : "Cancel (remaind later)", 502, 440, 157);
    ButtonPatchDownload->setDefault(true);
    ButtonPatchDownload->setVisible(!offer.downloadAddress.empty());
    ButtonPatchWWW->setVisible(!offer.webAddress.empty());

    connect(ButtonPatchDownload, &QPushButton::clicked, this, [this] { done(Download); });
    connect(ButtonPatchCancel, &QPushButton::clicked, this, [this] { done(RemindLater); });
    connect(ButtonPatchCancel1, &QPushButton::clicked, this, [this] { done(DoNotRemind); });
    connect(ButtonPatchWWW, &QPushButton::clicked, this, [this, openWeb] {
        if (openWeb)
            openWeb(webAddress);
    });
}

}  // namespace update
