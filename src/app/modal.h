#pragma once
// The window's modal dialogs and the browser, through its replaceable hooks.

#include <QDialog>
#include <QString>

#include "app/mainform.h"

namespace app {

inline int showModal(TMainForm& form, QDialog& dialog)
{
    return form.runModal ? form.runModal(dialog) : dialog.exec();
}

// Opens a web address in the browser; only http and https addresses are opened. Any
// other address, or one the browser does not take, is reported in a message box.
bool openWebAddress(TMainForm& form, const QString& address);

}  // namespace app
