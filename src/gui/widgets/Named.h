#pragma once

#include <QString>

namespace kest::gui {

// A control with its name for the tests (objectName) and for screen readers.
template <typename W>
W* Named(W* widget, const char* name, const char* accessible) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QString::fromLatin1(accessible));
    return widget;
}

}  // namespace kest::gui
