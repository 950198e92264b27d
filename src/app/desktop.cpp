#include "app/desktop.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "lang/langtext.h"

// The resources of a static library are registered by hand, outside any namespace.
static void registerIconResources() { Q_INIT_RESOURCE(icons); }

namespace app {

QIcon programIcon()
{
    registerIconResources();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tavrin-%1.png").arg(size), QSize(size, size));
    return icon;
}

bool useQtTranslations(int language)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (language != lang::German && language != lang::Czech)
        return true;
    auto translator = std::make_unique<QTranslator>();
    // "qt_<language>" gathers the catalogues of every Qt module (Debian: qt6-translations-l10n).
    const QString name = language == lang::German ? QStringLiteral("qt_de") : QStringLiteral("qt_cs");
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

}  // namespace app
