#pragma once

#include <QDialog>
#include <functional>

#include "core/details/FileDetailsWindow.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kest::gui {

// The file details window over the core's FileDetailsWindow: the file's
// values in the results' font, its description update and the way to its
// disc's details. listsChanged tells the main window to redraw its lists
// after the core reloaded or re-ran them.
class frmFileDetails : public QDialog {
    Q_OBJECT
  public:
    frmFileDetails(QWidget* main, details::FileDetailsWindow& window, engine::Database& db,
                   Prompter& prompter, const QFont& resultsFont, const QFont& discListFont,
                   std::function<void()> listsChanged);

  protected:
    void done(int result) override;

  private:
    void OnUpdateDescription();
    void OnDiscInfo();

    details::FileDetailsWindow& m_window;
    engine::Database& m_db;
    Prompter& m_prompter;
    QFont m_discListFont;
    std::function<void()> m_listsChanged;
    QLineEdit *txtKestID, *txtFileID, *txtDir, *txtName, *txtAtt, *txtSz, *txtDt;
    QPlainTextEdit* txtDesc;
    QLabel* lblSize;
    QPushButton *cmdUpDesc, *cmdDiscInfo, *cmdOK;
};

}  // namespace kest::gui
