#include "core/discfacts/Recognition.h"

#include <algorithm>

#include "core/discfacts/DiscFacts.h"
#include "core/engine/Database.h"
#include "core/text/TextOrder.h"

namespace kest::discfacts {
namespace {

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string VolumeName(const Recognition& r) {
    std::string label = Trimmed(r.label);
    return (label.empty() ? "Disc with no label" : label) + " (" +
           (HasSerial(r.serial) ? r.serial : "no serial") + ")";
}

std::string DiscLine(const KnownDisc& disc) {
    std::string files = text::FormatNumber(static_cast<double>(disc.files), "#,##0");
    std::string line = disc.description + ", " + files + (disc.files == 1 ? " file" : " files");
    if (disc.catalogued) line += ", catalogued " + text::ToIso(*disc.catalogued).substr(0, 10);
    return line + ".";
}

}  // namespace

bool HasSerial(const std::string& serial) {
    std::string trimmed = Trimmed(serial);
    return !trimmed.empty() && trimmed != "0000-0000";
}

std::string Recognition::Message() const {
    if (discs.empty()) return VolumeName(*this) + " is not in the catalog.";
    if (discs.size() == 1)
        return VolumeName(*this) + " is disc " + std::to_string(discs.front().kestId) +
               " of the catalog: " + DiscLine(discs.front());
    std::string text =
        VolumeName(*this) + " matches " + std::to_string(discs.size()) + " discs of the catalog:";
    for (const KnownDisc& disc : discs)
        text += "\ndisc " + std::to_string(disc.kestId) + ": " + DiscLine(disc);
    return text;
}

Recognition Recognize(engine::Database& db, const std::string& label, const std::string& serial) {
    Recognition found{label, serial, {}};
    bool bySerial = HasSerial(serial);
    if (!bySerial && Trimmed(label).empty()) return found;
    auto rows = db.Prepare("SELECT KestId, DiscSer, DiscLbl, DiscDesc, DiscNumF FROM tblDiscs");
    while (rows.Step()) {
        std::string discSerial = Trimmed(rows.Text(1));
        bool same = bySerial ? text::CompareText(discSerial, Trimmed(serial)) == 0
                             : !HasSerial(discSerial) &&
                                   text::CompareText(Trimmed(rows.Text(2)), Trimmed(label)) == 0;
        if (same) found.discs.push_back({rows.Int(0), rows.Text(3), rows.Int(4), std::nullopt});
    }
    std::sort(found.discs.begin(), found.discs.end(),
              [](const KnownDisc& a, const KnownDisc& b) { return a.kestId < b.kestId; });
    for (KnownDisc& disc : found.discs) disc.catalogued = LoadDiscFacts(db, disc.kestId).catalogued;
    return found;
}

}  // namespace kest::discfacts
