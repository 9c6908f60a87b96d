#pragma once

#include <QFont>
#include <QPlainTextEdit>

namespace kest::gui {

// A font whose glyphs all have one width: DejaVu Sans Mono (the package
// depends on it), else the desktop's fixed font, else any installed family.
// Each is checked by measuring "i" and "W", since a font's own fixed-pitch
// flag is not always set (Noto Sans Mono has it off).
QFont FixedWidthFont();
// True when "i" and "W" are equally wide in the font.
bool MeasuresFixed(const QFont& font);

// A read-only text box without line wrapping whose preferred size shows its
// longest line whole and up to maxLines lines (within the screen), so the
// window holding it opens sized to its text.
class TextBox : public QPlainTextEdit {
  public:
    TextBox(const QString& text, int maxLines, QWidget* parent);
    QSize sizeHint() const override;

  private:
    int m_maxLines;
};

}  // namespace kest::gui
