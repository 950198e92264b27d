#pragma once
// TFormAbout: the About window with the maker's contact lines, the build date and
// time and the program's version.

#include <QDialog>

class QLabel;

namespace app {

// The build as recorded by the compiler: "Apr 18 2021" and "12:34:56".
const char* buildDateText();
const char* buildTimeText();

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
    // Fills the build labels and centres the window on the screen.
    void FormCreate();
    void Button1Click() { accept(); }

    QLabel *Image1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label9 = nullptr, *Label10 = nullptr, *LabelDate = nullptr, *LabelTime = nullptr, *LabelExit = nullptr,
           *LabelRsKey = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace app
