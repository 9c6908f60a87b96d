#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>

namespace kest::test {

DialogDriver::DialogDriver() {
    gui::SetModalRunner([this](QDialog& dialog) {
        std::string name = dialog.objectName().toStdString();
        ++m_opened[name];
        auto steps = m_steps.find(name);
        if (steps == m_steps.end()) {
            ADD_FAILURE() << "unexpected dialog " << name;
            dialog.reject();
            return;
        }
        steps->second(dialog);
    });
}

DialogDriver::~DialogDriver() {
    gui::SetModalRunner({});
}

void DialogDriver::On(const std::string& dialogName, std::function<void(QDialog&)> steps) {
    m_steps[dialogName] = std::move(steps);
}

int DialogDriver::Opened(const std::string& dialogName) const {
    auto found = m_opened.find(dialogName);
    return found == m_opened.end() ? 0 : found->second;
}

void SaveDialogPicture(QWidget& dialog, const char* name) {
    QDir().mkpath(QStringLiteral(KEST_SCREENSHOT_DIR));
    QString suffix = dialog.devicePixelRatioF() > 1.5 ? QStringLiteral("@2x") : QString();
    QString file = QStringLiteral(KEST_SCREENSHOT_DIR "/%1%2.png").arg(QLatin1String(name), suffix);
    EXPECT_TRUE(dialog.grab().save(file)) << file.toStdString();
}

}  // namespace kest::test
