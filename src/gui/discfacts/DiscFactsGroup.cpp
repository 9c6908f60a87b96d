#include "gui/discfacts/DiscFactsGroup.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/common/KestError.h"
#include "core/discfacts/DiscFactsChange.h"
#include "core/discfacts/DiscListFacts.h"
#include "gui/dialogs/DetailsForm.h"

namespace kest::gui {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// An editable box on its row, captioned as the details' other boxes are.
QLineEdit* AddEditRow(QGridLayout* grid, int row, const char* name, const QString& caption,
                      const QString& toolTip, const QFont& font) {
    QLineEdit* box = AddDetailRow(grid, row, name, caption, toolTip, font);
    box->setReadOnly(false);
    box->setToolTip(toolTip);
    SelectAllOnFocus(box);
    return box;
}

std::string SpaceText(const discfacts::DiscFacts& facts) {
    if (!facts.capacity) return {};
    std::string text = discfacts::MegabytesText(facts.capacity);
    if (facts.freeSpace) text += ", " + discfacts::MegabytesText(facts.freeSpace) + " free";
    return text;
}

}  // namespace

DiscFactsGroup::DiscFactsGroup(QWidget* parent, engine::Database& db, int64_t kestId,
                               Prompter& prompter, const QFont& font, std::function<void()> changed)
    : QGroupBox(QStringLiteral("Kept by Kest"), parent),
      m_db(db),
      m_kestId(kestId),
      m_prompter(prompter),
      m_changed(std::move(changed)) {
    setObjectName(QStringLiteral("grpDiscFacts"));
    setAccessibleName(title());
    auto* grid = new QGridLayout(this);
    txtCatalogued =
        AddDetailRow(grid, 0, "txtCatalogued", QStringLiteral("Catalogued"),
                     QStringLiteral("When the disc was scanned (and scanned again)"), font);
    txtSpace = AddDetailRow(grid, 1, "txtSpace", QStringLiteral("Capacity"),
                            QStringLiteral("The volume's size and free space when scanned"), font);
    txtLocation = AddEditRow(grid, 2, "txtLocation", QStringLiteral("Location"),
                             QStringLiteral("Where the disc is kept, e.g. Shelf B, box 3"), font);
    txtTags = AddEditRow(grid, 3, "txtTags", QStringLiteral("Tags"),
                         QStringLiteral("Tags separated by commas; a tag holding a comma goes "
                                        "in double quotes"),
                         font);
    txtLentTo = AddEditRow(grid, 4, "txtLentTo", QStringLiteral("Lent to"),
                           QStringLiteral("Who has the disc; empty when it is back"), font);
    txtLentOn = AddEditRow(grid, 5, "txtLentOn", QStringLiteral("Lent on"),
                           QStringLiteral("The day it was lent (today when left empty)"), font);
    txtDueBack = AddEditRow(grid, 6, "txtDueBack", QStringLiteral("Due back"),
                            QStringLiteral("The day it is due back (none when left empty)"), font);
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setFont(font);
    txtNotes->setTabChangesFocus(true);
    txtNotes->setAccessibleName(QStringLiteral("Notes"));
    txtNotes->setFixedHeight(txtNotes->fontMetrics().lineSpacing() * 3 + 12);
    auto* notesLabel = new QLabel(QStringLiteral("&Notes"), this);
    notesLabel->setBuddy(txtNotes);
    grid->addWidget(notesLabel, 7, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(txtNotes, 7, 1);
    cmdSaveFacts = MakeButton(this, "cmdSaveFacts", QStringLiteral("Save F&acts"),
                              QStringLiteral("Store the location, tags, lending and notes"));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(cmdSaveFacts);
    grid->addLayout(row, 8, 1);
    connect(cmdSaveFacts, &QPushButton::clicked, this, &DiscFactsGroup::OnSave);
    try {
        Show(discfacts::FactsOfDisc(m_db, m_kestId));
    } catch (const KestError& e) {
        setEnabled(false);  // a disc the catalog lost meanwhile
    }
}

void DiscFactsGroup::Show(const discfacts::DiscFacts& facts) {
    m_facts = facts;
    std::string dates = discfacts::DayText(facts.catalogued);
    if (facts.recatalogued) dates += " (again " + discfacts::DayText(facts.recatalogued) + ")";
    txtCatalogued->setText(FromUtf8(dates));
    txtSpace->setText(FromUtf8(SpaceText(facts)));
    discfacts::FactTexts texts = discfacts::TextsOf(facts);
    txtLocation->setText(FromUtf8(texts.location));
    txtTags->setText(FromUtf8(texts.tags));
    txtLentTo->setText(FromUtf8(texts.lentTo));
    txtLentOn->setText(FromUtf8(texts.lentOn));
    txtDueBack->setText(FromUtf8(texts.dueBack));
    txtNotes->setPlainText(FromUtf8(texts.notes));
}

void DiscFactsGroup::OnSave() {
    discfacts::FactTexts typed{
        txtLocation->text().toStdString(), txtTags->text().toStdString(),
        txtLentTo->text().toStdString(),   txtLentOn->text().toStdString(),
        txtDueBack->text().toStdString(),  txtNotes->toPlainText().toStdString()};
    try {
        Show(
            discfacts::ChangeDiscFacts(m_db, m_kestId, discfacts::ChangeFromTexts(typed, m_facts)));
    } catch (const KestError& e) {
        m_prompter.ShowError(discfacts::kFactsErrorTitle, e.Number(), e.Description());
        return;
    }
    if (m_changed) m_changed();
}

}  // namespace kest::gui
