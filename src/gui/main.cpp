// kest: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "gui/app/MainWindow.h"
#include "gui/dialogs/QtPrompter.h"
#include "gui/update/frmAbout.h"
#include "gui/widgets/Pictures.h"

namespace {

// Qt ends the process when it cannot reach a display; say why and what to use.
bool DisplayAvailable() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "kest: no display found (DISPLAY is not set); use kest-cli for the "
                     "command line.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kest"));
    QApplication::setApplicationVersion(kest::gui::ReleaseCaption());
    QApplication::setWindowIcon(kest::gui::ProgramIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kest - a catalog of removable media"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption home(QStringLiteral("home"),
                            QStringLiteral("Program folder (settings, logs, default catalog)"),
                            QStringLiteral("DIR"));
    parser.addOption(home);
    parser.addPositionalArgument(QStringLiteral("CATALOG"),
                                 QStringLiteral("Catalog to open instead of the start-up one"));
    parser.process(app);

    kest::gui::QtPrompter prompter;
    std::unique_ptr<kest::platform::Volumes> volumes = kest::platform::MakeSystemVolumes();
    kest::gui::MainWindow window(kest::AppPaths::ForRun(parser.value(home).toStdString()), prompter,
                                 *volumes);
    prompter.SetMainWindow(&window);
    QStringList catalogs = parser.positionalArguments();
    window.Start(catalogs.isEmpty() ? std::string() : catalogs.constFirst().toStdString());
    return app.exec();
}
