#pragma once
// The program's place on the desktop: its icon, and Qt's own translations (dialog
// buttons, file dialogs) in the user's language.

#include <QIcon>

namespace app {

// The program's icon in every size drawn for it.
QIcon programIcon();

// Installs Qt's translations for `language` (German and Czech; English needs none) in
// place of the ones installed before. False when they are not on this machine.
bool useQtTranslations(int language);

}  // namespace app
