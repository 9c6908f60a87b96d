#pragma once

#include <QObject>
#include <cstdint>
#include <string>

#include "core/app/Session.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"
#include "platform/Volumes.h"

namespace kest::gui {

class MountRecognition;
class TrayIcon;
class WindowScan;

// The disc facts in the main window: Tools > "Find Duplicates..." and "Lent
// Discs...", the filter box over the disc list, and recognition of the discs
// mounted (a catalogued one is shown in the list, an unknown one offered for
// a scan). What it asks of the rest of the window goes out as signals.
class DiscFactsView : public QObject {
    Q_OBJECT
  public:
    DiscFactsView(app::Session& session, const platform::Volumes& volumes, discs::DiscList& discs,
                  search::SearchPanel& results, const MainControls& controls, TrayIcon* tray,
                  WindowScan& scan, QWidget* window);

    void ShowDuplicates();
    void ShowLentDiscs();
    // Volumes were mounted or unmounted: the new ones are recognised.
    void OnMountsChanged();

  signals:
    // The filter changed: the disc list is to be read again.
    void DiscListWanted();
    // A recognised disc is to be shown: the Discs view first.
    void DiscsViewWanted();
    // A window opened from the duplicates may have changed descriptions or
    // deleted a disc: the lists are to be shown again.
    void ListsChanged();

  private:
    void AddFilterBox();
    void SelectDisc(int64_t kestId);
    void ChooseDrive(const std::string& root);

    app::Session& m_session;
    const platform::Volumes& m_volumes;
    discs::DiscList& m_discs;
    search::SearchPanel& m_results;
    const MainControls& c;
    WindowScan& m_scan;
    QWidget* m_window;
    MountRecognition* m_recognition = nullptr;
};

}  // namespace kest::gui
