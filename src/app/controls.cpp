#include "app/controls.h"

#include <cmath>

#include <QPalette>
#include <QResizeEvent>

namespace app {

QString groupedNumber(int value)
{
    QString digits = QString::number(value < 0 ? -qint64(value) : qint64(value));
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

std::optional<int> parseNumber(const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char(' ')).remove(QChar(0x00A0)).remove(QChar(0x202F)).remove(QLatin1Char(','));
    bool ok = false;
    const int value = plain.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

UpDown::UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum, int step)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), step_(step), position_(minimum)
{
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(6, 6));
    }
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    setPosition(position_);
}

void UpDown::setPosition(int value) { position_ = std::clamp(value, minimum_, maximum_); }

void UpDown::stepBy(int direction)
{
    if (buddy_)
        if (auto typed = parseNumber(buddy_->text()))
            setPosition(*typed);
    setPosition(position_ + direction * step_);
    if (buddy_)
        buddy_->setText(groupedNumber(position_));
    Q_EMIT clicked();
}

void UpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

RadioGroup::RadioGroup(QWidget* parent, int columns) : QGroupBox(parent), columns_(columns < 1 ? 1 : columns) {}

void RadioGroup::setItems(const QStringList& items)
{
    const int chosen = itemIndex();
    while (int(buttons_.size()) > items.size()) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (int(buttons_.size()) < items.size()) {
        auto* button = new QRadioButton(this);
        button->show();
        connect(button, &QRadioButton::clicked, this, &RadioGroup::clicked);
        buttons_.push_back(button);
    }
    for (int i = 0; i < items.size(); ++i)
        buttons_[std::size_t(i)]->setText(items[i]);
    setItemIndex(chosen < int(buttons_.size()) ? chosen : -1);
    layoutButtons();
}

QStringList RadioGroup::items() const
{
    QStringList texts;
    for (QRadioButton* b : buttons_)
        texts << b->text();
    return texts;
}

int RadioGroup::itemIndex() const
{
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked())
            return int(i);
    return -1;
}

void RadioGroup::setItemIndex(int index)
{
    for (QRadioButton* b : buttons_)
        b->setAutoExclusive(false);
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setChecked(int(i) == index);
    for (QRadioButton* b : buttons_)
        b->setAutoExclusive(true);
}

void RadioGroup::setZoom(double factor)
{
    zoom_ = factor;
    layoutButtons();
}

// The style draws its indicator at a fixed size; below 100 % it would cover the
// neighbouring items, so there it shrinks with the zoom.
void RadioGroup::scaleIndicator(QRadioButton* button) const
{
    const int side = int(std::lround(13 * zoom_));
    const QString sheet =
        zoom_ < 1.0 ? QStringLiteral("QRadioButton::indicator { width: %1px; height: %1px; }").arg(side) : QString();
    if (button->styleSheet() != sheet)
        button->setStyleSheet(sheet);
}

void RadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    layoutButtons();
}

// Items fill the columns row by row below the caption, as a radio group of the
// window definition does.
void RadioGroup::layoutButtons()
{
    if (buttons_.empty())
        return;
    const int rows = (int(buttons_.size()) + columns_ - 1) / columns_;
    const auto scaled = [this](int design) { return int(std::lround(design * zoom_)); };
    const int top = scaled(14);
    const int left = scaled(8);
    const int columnWidth = (width() - 2 * left) / columns_;
    const int rowHeight = std::max(scaled(14), (height() - top - scaled(4)) / rows);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const int column = int(i) % columns_;
        const int row = int(i) / columns_;
        buttons_[i]->setGeometry(left + column * columnWidth, top + row * rowHeight, columnWidth,
                                 std::min(rowHeight, scaled(17)));
        scaleIndicator(buttons_[i]);
    }
}

Gauge::Gauge(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    setRange(0, 100);
    setValue(0);
}

void Gauge::setBarColour(const QColor& colour)
{
    colour_ = colour;
    setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #808080; background: white; }"
                                 "QProgressBar::chunk { background: %1; }")
                      .arg(colour.name()));
}

void setLabelText(QLabel* label, const QString& text)
{
    // The ticks set the same texts again and again: an unchanged label is left alone, as
    // fitting it anew would relayout and repaint it every time. The shown text (or, for a
    // cut text, the tooltip) is checked too, in case something set the label directly.
    const QVariant previous = label->property("fullText");
    if (previous.isValid() && previous.toString() == text && (label->text() == text || label->toolTip() == text))
        return;
    label->setProperty("fullText", text);
    label->setText(text);
    if (label->property("autoSize").toBool())
        fitLabel(label);
}

void fitLabel(QLabel* label)
{
    const double zoom = label->property("zoom").isValid() ? label->property("zoom").toDouble() : 1.0;
    const int designLimit = label->property("designWidthLimit").toInt();
    const int designPixels = label->property("designPixels").toInt();
    if (designLimit <= 0 || designPixels <= 0) {
        label->resize(label->sizeHint().width(), label->height());
        return;
    }
    // A message grows up to its neighbour; a longer one takes a smaller font, and only
    // past that is it cut (the whole text then shows as the label's tooltip).
    const int limit = int(std::lround(designLimit * zoom));
    const int natural = std::max(1, int(std::lround(designPixels * zoom)));
    const QString full = label->property("fullText").isValid() ? label->property("fullText").toString() : label->text();
    label->setText(full);
    QFont font = label->font();
    font.setPixelSize(natural);
    label->setFont(font);
    while (label->sizeHint().width() > limit && font.pixelSize() > natural * 6 / 10) {
        font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
    }
    if (label->sizeHint().width() > limit) {
        const int margin = label->sizeHint().width() - label->fontMetrics().horizontalAdvance(full);
        label->setText(label->fontMetrics().elidedText(full, Qt::ElideRight, limit - margin));
        label->setToolTip(full);
    } else {
        label->setToolTip(QString());
    }
    label->resize(std::min(label->sizeHint().width(), limit), label->height());
}

QFont pixelFont(int pixels, bool bold)
{
    QFont font;
    // The design's font, else one of the same widths (Arial metrics), else any sans-serif.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QColor bgrColour(std::uint32_t value) { return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)); }

}  // namespace app
