#pragma once

#include <QDialog>

#include "core/table/ListTable.h"

namespace kest::engine {
class Database;
}

namespace kest::gui {

class ListGrid;
class ListTableModel;

// Tools > Lent Discs...: every lent disc with its borrower and dates, the
// ones past their due date marked OVERDUE, the soonest due first.
class frmLentDiscs : public QDialog {
    Q_OBJECT
  public:
    frmLentDiscs(QWidget* owner, engine::Database& db);

  private:
    ListTable m_table;
    ListTableModel* m_model;
    ListGrid* fgdLent;
};

}  // namespace kest::gui
