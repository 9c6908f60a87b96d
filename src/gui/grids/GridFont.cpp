#include "gui/grids/GridFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

namespace kest::gui {

QFont GridQtFont(const GridFont& font) {
    QString family = QString::fromStdString(font.name);
    QFont qt(!family.isEmpty() && QFontDatabase::hasFamily(family) ? family
                                                                   : QApplication::font().family());
    // A size the settings could not give stays Qt's.
    if (font.size >= 1) qt.setPointSizeF(font.size);
    qt.setBold(font.bold);
    qt.setItalic(font.italic);
    return qt;
}

GridFont GridFontOf(const QFont& font) {
    // The face the machine matched; the size as asked (the one matched is
    // rounded to whole pixels).
    return {QFontInfo(font).family().toStdString(), font.pointSizeF(), font.bold(), font.italic()};
}

}  // namespace kest::gui
