#pragma once

#include <QDialog>
#include <QFont>
#include <functional>

#include "core/app/Session.h"
#include "core/settings/OptionsForm.h"
#include "gui/options/OptionsControls.h"

class QPushButton;

namespace kest::gui {

class DiscFactsOptions;

class SecurityTab;

// The options dialog over the session's settings: six tabs that show the
// settings, Apply and OK moving the checked choice into the settings record
// (never into the file), Cancel closing without it. After each Apply the
// main window takes what it shows at once through `applied`.
class frmOpts : public QDialog {
    Q_OBJECT
  public:
    frmOpts(QWidget* main, app::Session& session, std::function<void()> applied);

    // cmdApply: validation, then the choice into the settings; false when a
    // check refused it (its tab shown, its control focused).
    bool Apply();

  private:
    void Load(const OptionsChoice& choice);
    OptionsChoice Choice() const;
    void ConnectHandlers();
    // Every change makes Apply available.
    void Changed();
    // The controls whose use depends on another control's state.
    void UpdateDependents();
    void ShowColour();
    void ShowFont(const QFont& font);
    void ShowProblem(const OptionsProblem& problem);
    void OnColour();
    void OnFont();
    void OnBrowseSound();
    void OnOK();

    app::Session& m_session;
    std::function<void()> m_applied;
    SecurityTab* m_security;
    DiscFactsOptions* m_facts;
    OptionsControls c;
    int32_t m_colour = 0;
    QFont m_gridFont;
    QPushButton *cmdOK, *cmdApply, *cmdCancel;
};

}  // namespace kest::gui
