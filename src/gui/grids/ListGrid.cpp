#include "gui/grids/ListGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>
#include <string>
#include <vector>

#include "gui/grids/ListTableModel.h"
#include "gui/widgets/Twips.h"

namespace kest::gui {
namespace {

// Narrow enough for a one-digit column, wide enough to grab its edge.
constexpr int kMinimumColumnPixels = 24;

}  // namespace

ListGrid::ListGrid(ListTableModel* model, QWidget* parent) : QTableView(parent), m_model(model) {
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // As in the classic grid, the back colour shows right of the last column.
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void ListGrid::Reload() {
    m_model->Reload();
    // A width of 0 or less in the settings would hide a column the user
    // asked for: it gets the grid's default width instead.
    for (int c = 0; c < m_model->columnCount(); ++c) {
        int twips = m_model->ColumnTwips(c);
        setColumnWidth(c, twips > 0 ? std::max(TwipsToPixels(twips), kMinimumColumnPixels)
                                    : horizontalHeader()->defaultSectionSize());
    }
}

std::vector<std::pair<size_t, int>> ListGrid::ColumnTwips() const {
    std::vector<std::pair<size_t, int>> widths;
    for (int c = 0; c < m_model->columnCount(); ++c)
        widths.emplace_back(m_model->TableColumn(c), PixelsToTwips(columnWidth(c)));
    return widths;
}

QString ListGrid::SelectedText() const {
    // The selected blocks of rows, in order; the cells are read from the
    // table in place, so a million rows copy without a string per cell.
    std::vector<std::pair<int, int>> blocks;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        blocks.emplace_back(range.top(), range.bottom());
    std::sort(blocks.begin(), blocks.end());
    std::string text;
    int next = 0;  // the first row not copied yet: overlapping blocks copy once
    for (auto [top, bottom] : blocks) {
        for (int row = std::max(top, next); row <= bottom; ++row) {
            for (int c = 0; c < m_model->columnCount(); ++c) {
                if (c > 0) text += '\t';
                text += m_model->Cell(row, c);
            }
            text += '\n';
        }
        next = std::max(next, bottom + 1);
    }
    return QString::fromStdString(text);
}

void ListGrid::keyboardSearch(const QString&) {}

void ListGrid::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(SelectedText());
        return;
    }
    QTableView::keyPressEvent(e);
}

}  // namespace kest::gui
