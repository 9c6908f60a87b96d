#include "gui/grids/GridFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

namespace kest::gui {

QFont GridQtFont(const GridFont& font) {
    QString family = QString::fromStdString(font.name);
    QFont qt = QApplication::font();
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) {
        qt = QFont(family);
        // A size the settings could not give stays Qt's.
        if (font.size >= 1) qt.setPointSizeF(font.size);
    }
    qt.setBold(font.bold);
    qt.setItalic(font.italic);
    return qt;
}

GridFont GridFontOf(const QFont& font) {
    QFontInfo used(font);
    return {used.family().toStdString(), used.pointSizeF(), font.bold(), font.italic()};
}

}  // namespace kest::gui
