#pragma once
// Shows the window's modal dialogs through its replaceable hook.

#include <QDialog>

#include "app/mainform.h"

namespace app {

inline int showModal(TMainForm& form, QDialog& dialog)
{
    return form.runModal ? form.runModal(dialog) : dialog.exec();
}

}  // namespace app
