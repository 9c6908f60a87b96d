#include "gui/update/TextBox.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

namespace kest::gui {

bool MeasuresFixed(const QFont& font) {
    QFontMetrics metrics(font);
    return metrics.horizontalAdvance(QLatin1Char('i')) ==
               metrics.horizontalAdvance(QLatin1Char('W')) &&
           metrics.horizontalAdvance(QLatin1Char('i')) > 0;
}

QFont FixedWidthFont() {
    QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QFont dejaVu(QStringLiteral("DejaVu Sans Mono"), system.pointSize());
    dejaVu.setStyleHint(QFont::Monospace);
    for (const QFont& font : {dejaVu, system})
        if (MeasuresFixed(font)) return font;
    for (const QString& family : QFontDatabase::families()) {
        QFont font(family, system.pointSize());
        if (MeasuresFixed(font)) return font;
    }
    return system;
}

TextBox::TextBox(const QString& text, int maxLines, QWidget* parent)
    : QPlainTextEdit(text, parent), m_maxLines(maxLines) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

QSize TextBox::sizeHint() const {
    QFontMetrics metrics(font());
    const QStringList lines = toPlainText().split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    int shown = std::clamp(int(lines.size()), 1, m_maxLines);
    // The document's margin on both sides, the frame, and room for the
    // scroll bar the lines beyond maxLines bring.
    int margins = 2 * (int(document()->documentMargin()) + frameWidth() + 2);
    QSize size(
        widest + margins + metrics.averageCharWidth() + verticalScrollBar()->sizeHint().width(),
        shown * metrics.lineSpacing() + margins);
    if (const QScreen* shownOn = screen()) size = size.boundedTo(shownOn->availableSize() * 8 / 10);
    return size;
}

}  // namespace kest::gui
