#pragma once

#include <QGroupBox>
#include <functional>

#include "core/discfacts/DiscFacts.h"
#include "core/ui/Prompter.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kest::engine {
class Database;
}

namespace kest::gui {

// The disc details' second group, below the window's own boxes: what Kest
// keeps about the disc (dates and space shown, location, tags, lending and
// notes edited), stored by its own button. changed runs after every stored
// change, so the opener reloads the disc list.
class DiscFactsGroup : public QGroupBox {
    Q_OBJECT
  public:
    DiscFactsGroup(QWidget* parent, engine::Database& db, int64_t kestId, Prompter& prompter,
                   const QFont& font, std::function<void()> changed);

  private:
    void Show(const discfacts::DiscFacts& facts);
    void OnSave();

    engine::Database& m_db;
    int64_t m_kestId;
    Prompter& m_prompter;
    std::function<void()> m_changed;
    discfacts::DiscFacts m_facts;
    QLineEdit *txtCatalogued, *txtSpace, *txtLocation, *txtTags, *txtLentTo, *txtLentOn,
        *txtDueBack;
    QPlainTextEdit* txtNotes;
    QPushButton* cmdSaveFacts;
};

}  // namespace kest::gui
