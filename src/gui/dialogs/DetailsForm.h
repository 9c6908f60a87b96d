#pragma once

#include <QString>
#include <initializer_list>

class QFont;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace kest::gui {

// The pieces the details windows are built from: a caption beside a
// read-only box, an editable description, and their buttons.

// A box's font: the list font's name, bold and italic at the dialog's size.
QFont BoxFont(const QFont& dialogFont, const QFont& listFont);

// One labelled read-only box on its own row of the grid.
QLineEdit* AddDetailRow(QGridLayout* grid, int row, const char* name, const QString& caption,
                        const QString& toolTip, const QFont& font, QLabel** label = nullptr);

// The editable description on its row: Tab leaves it, focus selects it all.
QPlainTextEdit* AddDescriptionRow(QGridLayout* grid, int row, const QString& caption,
                                  const QString& toolTip, const QFont& font, const QString& text);

// Selects a box's whole text whenever it gets the focus (line or text boxes).
void SelectAllOnFocus(QWidget* box);

// A dialog's bottom row: one button at the left edge (or none), the others
// at the right.
QHBoxLayout* ButtonRow(QPushButton* left, std::initializer_list<QPushButton*> right);

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& toolTip);

}  // namespace kest::gui
