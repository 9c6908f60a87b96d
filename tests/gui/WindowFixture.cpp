#include "WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <filesystem>

#include "core/settings/IniFile.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {

WindowFixture::~WindowFixture() {
    if (window) CloseWindow();
}

void WindowFixture::WriteSettings(const std::string& text) {
    home.Write("Kest.ini", text);
}

std::string WindowFixture::PutSampleCatalog() {
    OpenSampleCatalog(home).reset();
    std::string path = home.File("kest001.kst");
    std::filesystem::rename(home.File("sample.kst"), path);
    return path;
}

gui::MainWindow& WindowFixture::Start(const std::string& catalog) {
    window = std::make_unique<gui::MainWindow>(AppPaths(home.Path()), prompter, volumes);
    window->Start(catalog);
    return *window;
}

void WindowFixture::Activate() {
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void WindowFixture::CloseWindow() {
    window->Exit();
    window.reset();
}

void WindowFixture::SaveScreenshot(const char* name) {
    QDir().mkpath(QStringLiteral(KEST_SCREENSHOT_DIR));
    qreal scale = window->devicePixelRatioF();
    QString suffix = scale > 1.5 ? QStringLiteral("@2x") : QString();
    QString file = QStringLiteral(KEST_SCREENSHOT_DIR "/%1%2.png").arg(QLatin1String(name), suffix);
    QPixmap picture = window->grab();
    EXPECT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(file)) << file.toStdString();
}

std::string WindowFixture::Setting(const std::string& section, const std::string& key) const {
    return ReadIni(section, key, "", home.File("Kest.ini"));
}

}  // namespace kest::test
