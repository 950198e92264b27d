#include "app/about.h"
#include "app/controls.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QFontMetrics>
#include <QPainter>
#include <QScreen>

#include "app/mainform.h"
#include "app/modal.h"
#include "lang/langtext.h"
#include "util/buildstamp.h"

namespace app {
namespace {

constexpr int kProgramVersion = 109;

QLabel* aboutLabel(QWidget* parent, const char* name, int x, int y, int w, int h, int pixels, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, h);
    label->setFont(pixelFont(pixels));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

// The maker's logo, drawn rather than loaded: a framed name plate.
QPixmap makerLogo()
{
    QPixmap logo(161, 81);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x20, 0x30, 0x80), 3));
    p.drawRoundedRect(QRectF(2, 2, 157, 77), 10, 10);
    // The largest size at which the name fits inside the frame.
    QFont font = pixelFont(30, true);
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(QStringLiteral("KORVELAN")) > 141)
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    p.setPen(QColor(0xC0, 0x10, 0x10));
    p.drawText(QRect(0, 0, 161, 81), Qt::AlignCenter, QStringLiteral("KORVELAN"));
    return logo;
}

}  // namespace

const char* buildDateText() { return util::buildDate(); }
const char* buildTimeText() { return util::buildTime(); }

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setModal(true);
    setFixedSize(342, 420);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(32, 72, 161, 81);
    Image1->setPixmap(makerLogo());
    Label2 = aboutLabel(this, "Label2", 32, 180, 290, 20, 16, QStringLiteral("Korvelan"));
    Label3 = aboutLabel(this, "Label3", 32, 205, 290, 20, 16, QStringLiteral("1 Example Street"));
    Label4 = aboutLabel(this, "Label4", 32, 230, 290, 20, 16, QStringLiteral("Example Town"));
    Label5 = aboutLabel(this, "Label5", 32, 255, 290, 20, 16, QStringLiteral("(contact lines of the maker)"));
    Label9 = aboutLabel(this, "Label9", 32, 291, 290, 20, 16, QStringLiteral("e-mail: info@korvelan.example"));
    Label10 = aboutLabel(this, "Label10", 32, 316, 290, 20, 16, QStringLiteral("www.korvelan.example"));
    LabelDate = aboutLabel(this, "LabelDate", 32, 350, 100, 13, 11, QString());
    LabelTime = aboutLabel(this, "LabelTime", 32, 370, 100, 13, 11, QString());
    LabelExit = aboutLabel(this, "LabelExit", 272, 368, 35, 29, 23, QStringLiteral("OK"));
    LabelRsKey = aboutLabel(this, "LabelRsKey", 32, 391, 100, 13, 11, QString());
    LabelExit->setCursor(Qt::PointingHandCursor);
    LabelExit->installEventFilter(this);
    FormCreate();
}

void TFormAbout::FormCreate()
{
    LabelDate->setText(QString::fromLatin1(buildDateText()));
    LabelTime->setText(QString::fromLatin1(buildTimeText()));
    LabelRsKey->setText(QStringLiteral("Version - %1").arg(kProgramVersion));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LabelExit && event->type() == QEvent::MouseButtonRelease) {
        Button1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TMainForm::MenuAboutClick()
{
    static const lang::LangText kCaption{
        "###About TAVRIN-X##Über Programm TAVRIN-X##O programu TAVRIN-X"};
    TFormAbout about(this);
    const std::string_view caption = kCaption.pick();
    about.setWindowTitle(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    showModal(*this, about);
}

}  // namespace app
