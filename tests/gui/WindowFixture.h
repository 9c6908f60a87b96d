#pragma once

#include <gmock/gmock.h>

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <memory>
#include <string>

#include "gui/app/MainWindow.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/platform/FakeVolumes.h"

namespace kest::test {

// A main window over a program folder of its own, its prompts answered by a
// scripted prompter.
class WindowFixture : public ::testing::Test {
  protected:
    ~WindowFixture() override;

    // Writes Kest.ini into the program folder.
    void WriteSettings(const std::string& text);
    // The sample catalog (two discs) as the program folder's kest001.kst.
    std::string PutSampleCatalog();
    // Makes and starts the window (catalog given = opened as by a file manager).
    gui::MainWindow& Start(const std::string& catalog = {});
    // Shows the window and makes it the active one, so shortcuts reach it.
    void Activate();
    // Closes the window as the program's end does and forgets it.
    void CloseWindow();
    // The settings file's value of a key ("" when missing).
    std::string Setting(const std::string& section, const std::string& key) const;

    template <typename T = QWidget>
    T* Find(const char* name) const {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* Action(const char* name) const { return Find<QAction>(name); }

    TempDir home;
    ScriptedPrompter prompter;
    FakeVolumes volumes;
    std::unique_ptr<gui::MainWindow> window;
};

}  // namespace kest::test
