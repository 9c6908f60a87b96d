#include "gui/app/WindowShortcuts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace kest::gui {

bool HasSelectionToCopy(const QObject* control) {
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->lineEdit() && combo->lineEdit()->hasSelectedText();
    if (auto* box = qobject_cast<const QLineEdit*>(control)) return box->hasSelectedText();
    if (auto* grid = qobject_cast<const QAbstractItemView*>(control))
        return grid->selectionModel() && grid->selectionModel()->hasSelection();
    return false;
}

WindowShortcuts::WindowShortcuts(QWidget* window) : QObject(window), m_window(window) {
    setObjectName(QStringLiteral("windowShortcuts"));
    for (QAction* entry : window->findChildren<QAction*>())
        if (!entry->shortcut().isEmpty()) m_entries.push_back(entry);
    qApp->installEventFilter(this);
}

WindowShortcuts::~WindowShortcuts() {
    qApp->removeEventFilter(this);
}

bool WindowShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != m_window)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    for (QAction* entry : m_entries) {
        if (!entry->isEnabled() || entry->shortcut()[0] != key->keyCombination()) continue;
        if (key->matches(QKeySequence::Copy) && HasSelectionToCopy(watched)) {
            event->accept();  // the control copies
        } else {
            event->ignore();  // the window's entry runs
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kest::gui
