// tavrin: the window without arguments (or with the window's own start words and files
// to open), a command-line command otherwise. A word that is neither ends the program
// with exit status 2 before any window opens.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/display.h"
#include "cli/startarguments.h"
#include "lang/langtext.h"
#include "storage/errorlog.h"

#ifdef TAVRIN_HAVE_WINDOW
#include "app/runwindow.h"
#endif

namespace {

const lang::LangText kNoDisplay{
    "###tavrin: no display to open the window on (the commands run without one: see tavrin --help)"
    "##tavrin: keine Anzeige für das Fenster (die Befehle brauchen keine: siehe tavrin --help)"
    "##tavrin: žádný displej pro okno (příkazy ho nepotřebují: viz tavrin --help)"};

}  // namespace

int main(int argc, char** argv)
{
    storage::installTerminateLogger();
    const std::vector<std::string> args = cli::commandLineArguments(argc, argv);
    const cli::StartArguments start = cli::parseStartArguments(args);
    // The command line speaks the language of the settings, or the one --lang names.
    lang::setCurrentLanguage(start.language.value_or(cli::settingsLanguage()));
    switch (start.kind) {
    case cli::StartKind::Error:
        std::fprintf(stderr, "%s\n", std::string(start.error.pick()).c_str());
        return 2;
    case cli::StartKind::Help:
        std::fputs(cli::helpText().c_str(), stdout);
        return 0;
    case cli::StartKind::Version:
        std::printf("%s\n", cli::versionText().c_str());
        return 0;
    case cli::StartKind::Command:
        return cli::findCommand(start.command)->run(start.commandArguments);
    case cli::StartKind::Window:
        break;
    }
#ifdef TAVRIN_HAVE_WINDOW
    if (!cli::haveDisplay(start.windowArguments)) {  // Qt would abort with a message of its own
        std::fprintf(stderr, "%s\n", std::string(kNoDisplay.pick()).c_str());
        return 1;
    }
    cli::leaveOwnConsole();
    app::WindowStart window;
    window.files = start.files;
    window.language = start.language;
    return app::runWindow(argc, argv, window);
#else
    std::fputs(cli::helpText().c_str(), stdout);
    return args.empty() ? 0 : 2;
#endif
}
