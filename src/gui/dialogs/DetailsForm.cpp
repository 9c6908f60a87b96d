#include "gui/dialogs/DetailsForm.h"

#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kest::gui {
namespace {

// Selects a box's whole text when it gets the focus, so typing replaces it.
class SelectAllFilter : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn) return false;
        if (auto* text = qobject_cast<QPlainTextEdit*>(watched)) text->selectAll();
        if (auto* line = qobject_cast<QLineEdit*>(watched)) line->selectAll();
        return false;
    }
};

QLabel* AddCaption(QGridLayout* grid, int row, const QString& caption, const QString& toolTip,
                   QWidget* buddy) {
    auto* label = new QLabel(caption, grid->parentWidget());
    label->setToolTip(toolTip);
    label->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    // Captions face the first line of their box.
    bool multiLine = qobject_cast<QPlainTextEdit*>(buddy) != nullptr;
    grid->addWidget(label, row, 0, Qt::AlignRight | (multiLine ? Qt::AlignTop : Qt::AlignVCenter));
    grid->addWidget(buddy, row, 1);
    return label;
}

}  // namespace

QFont BoxFont(const QFont& dialogFont, const QFont& listFont) {
    QFont font = dialogFont;
    font.setFamilies(listFont.families());
    font.setBold(listFont.bold());
    font.setItalic(listFont.italic());
    return font;
}

QLineEdit* AddDetailRow(QGridLayout* grid, int row, const char* name, const QString& caption,
                        const QString& toolTip, const QFont& font, QLabel** label) {
    auto* box = new QLineEdit(grid->parentWidget());
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setFont(font);
    QLabel* shown = AddCaption(grid, row, caption, toolTip, box);
    if (label) *label = shown;
    return box;
}

QPlainTextEdit* AddDescriptionRow(QGridLayout* grid, int row, const QString& caption,
                                  const QString& toolTip, const QFont& font, const QString& text) {
    auto* box = new QPlainTextEdit(text, grid->parentWidget());
    box->setObjectName(QStringLiteral("txtDesc"));
    box->setFont(font);
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 3 + 12);
    SelectAllOnFocus(box);
    AddCaption(grid, row, caption, toolTip, box);
    return box;
}

void SelectAllOnFocus(QWidget* box) {
    box->installEventFilter(new SelectAllFilter(box));
}

QHBoxLayout* ButtonRow(QPushButton* left, std::initializer_list<QPushButton*> right) {
    auto* row = new QHBoxLayout;
    if (left) row->addWidget(left);
    row->addStretch();
    for (QPushButton* button : right) row->addWidget(button);
    return row;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& toolTip) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

}  // namespace kest::gui
