#pragma once
// Small controls the window is built from: an up/down pair of arrow buttons bound to
// an edit box, a captioned group of radio buttons in columns, and a coloured bar gauge.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QToolButton>
#include <QWidget>
#include <optional>
#include <vector>

namespace app {

// Decimal text with groups of three digits separated by spaces from 1 000 on ("12 300").
QString groupedNumber(int value);
// The number in `text`, ignoring group separators; nothing when it is not a number.
std::optional<int> parseNumber(const QString& text);

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum, int step);

    int position() const { return position_; }
    void setPosition(int value);  // clamped to the range; does not touch the buddy
    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int step() const { return step_; }
    QLineEdit* buddy() const { return buddy_; }

    // What a click on an arrow does: take the buddy's number, step it within the range,
    // show it in the buddy, then announce the click (also when the value stayed).
    void stepBy(int direction);

Q_SIGNALS:
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_, maximum_, step_;
    int position_;
};

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(QWidget* parent, int columns);

    void setItems(const QStringList& items);
    QStringList items() const;
    int itemIndex() const;
    void setItemIndex(int index);  // -1: none chosen
    QRadioButton* button(int index) const { return buttons_.at(std::size_t(index)); }
    // The window's zoom: the buttons' margins and rows scale with it.
    void setZoom(double factor);
    int count() const { return int(buttons_.size()); }

Q_SIGNALS:
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButtons();
    void scaleIndicator(QRadioButton* button) const;

    int columns_;
    double zoom_ = 1.0;
    std::vector<QRadioButton*> buttons_;
};

class Gauge : public QProgressBar {
    Q_OBJECT
public:
    explicit Gauge(QWidget* parent);
    void setBarColour(const QColor& colour);
    QColor barColour() const { return colour_; }

private:
    QColor colour_;
};

// Sets a label's text; a label placed without a width then takes the width of its text.
void setLabelText(QLabel* label, const QString& text);
// A label that follows its text takes the width of it; a message label (property
// "designWidthLimit") stays within that width at the label's zoom (property "zoom"),
// taking a smaller font and at last cutting the text.
void fitLabel(QLabel* label);

// The window's font at a pixel height: the design's "MS Sans Serif", else one of the
// same widths, else any sans-serif.
QFont pixelFont(int pixels, bool bold = false);

// Colour of a 0x00BBGGRR value.
QColor bgrColour(std::uint32_t value);

}  // namespace app
