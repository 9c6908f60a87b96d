#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/discfacts/DiscFacts.h"

#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}
namespace kest::platform {
class Volumes;
}

namespace kest::scan {

class ScanView;
struct ScanState;

// One row of the disc list as the duplicate test reads it.
struct DiscListRow {
    std::string kestId;
    std::string serial;
};

// The rows the disc list shows, in its order: with the used-space column only
// the discs that have files.
std::vector<DiscListRow> DiscListRows(engine::Database& db, bool showUsedSpace);

// Deletes the listed discs with their file and subfile rows, then refreshes
// the disc list and empties the results.
void DeleteDiscs(engine::Database& db, const std::vector<std::string>& kestIds, ScanView& view);

// Before a walk: the discs already catalogued with the same serial, and the
// new disc's row.
class DiscRegistration {
  public:
    DiscRegistration(engine::Database& db, const platform::Volumes& volumes, Prompter& prompter,
                     ScanView& view)
        : m_db(db), m_volumes(volumes), m_prompter(prompter), m_view(view) {}

    // Offers to delete the discs of the list that share the root's serial.
    // False when the user gives up the scan.
    bool FindDuplicates(const std::string& root, const std::vector<DiscListRow>& discList);
    // Asks for the description and adds the disc row with its facts (the
    // date, the volume's space, and what a replaced disc of the same serial
    // kept); the new KestId and the volume facts go to the state. False when
    // the description is left empty.
    bool RegisterDisc(const std::string& root, ScanState& state);

  private:
    engine::Database& m_db;
    const platform::Volumes& m_volumes;
    Prompter& m_prompter;
    ScanView& m_view;
    std::optional<discfacts::DiscFacts> m_replaced;  // the first deleted duplicate's facts
};

}  // namespace kest::scan
