#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>
#include <set>

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

void ExpectKeyboardComplete(QDialog& dialog) {
    std::set<QWidget*> focusable;
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        bool box = qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
                   qobject_cast<QComboBox*>(control);
        if (box && control->isVisibleTo(&dialog)) {
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << control->objectName().toStdString();
        }
        if ((box || qobject_cast<QAbstractButton*>(control)) && control->isVisibleTo(&dialog) &&
            control->isEnabled() && control->focusPolicy() & Qt::TabFocus)
            focusable.insert(control);
    }
    QWidget* start = dialog.focusWidget();
    ASSERT_NE(start, nullptr);
    std::set<QWidget*> reached;
    QWidget* at = start;
    for (size_t step = 0; step <= focusable.size(); ++step) {
        reached.insert(at);
        QTest::keyClick(at, Qt::Key_Tab);
        at = dialog.focusWidget();
        if (at == start) break;
    }
    EXPECT_EQ(at, start) << "Tab does not come back to the first control";
    for (QWidget* control : focusable)
        EXPECT_TRUE(reached.count(control)) << control->objectName().toStdString();
}

void SaveDialogPicture(QWidget& dialog, const char* name) {
    QDir().mkpath(QStringLiteral(KEST_SCREENSHOT_DIR));
    QString suffix = dialog.devicePixelRatioF() > 1.5 ? QStringLiteral("@2x") : QString();
    QString file = QStringLiteral(KEST_SCREENSHOT_DIR "/%1%2.png").arg(QLatin1String(name), suffix);
    EXPECT_TRUE(dialog.grab().save(file)) << file.toStdString();
}

}  // namespace kest::test
