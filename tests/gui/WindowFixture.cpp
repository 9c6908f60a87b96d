#include "WindowFixture.h"

#include <QApplication>
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

std::string WindowFixture::Setting(const std::string& section, const std::string& key) const {
    return ReadIni(section, key, "", home.File("Kest.ini"));
}

}  // namespace kest::test
