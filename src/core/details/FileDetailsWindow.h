#pragma once

#include <string>

#include "core/details/FileDetailsLookup.h"
#include "core/discs/CatalogViews.h"
#include "core/discs/DiscDetails.h"
#include "core/ui/Prompter.h"

namespace kest::details {

// The file details window over the main window's lists. While it is open the
// search command does nothing; closing (or destroying) it allows it again.
class FileDetailsWindow {
  public:
    FileDetailsWindow(FileDetailsRecord record, discs::CatalogViews& views);
    ~FileDetailsWindow();
    FileDetailsWindow(const FileDetailsWindow&) = delete;
    FileDetailsWindow& operator=(const FileDetailsWindow&) = delete;

    const CurrentFile& File() const { return m_record.file; }
    const discs::SelectedDisc& Disc() const { return m_record.disc; }
    // The size label and the size and date boxes, in the unit and date
    // format of the last search's display snapshot.
    const std::string& SizeLabel() const { return m_sizeLabel; }
    const std::string& SizeText() const { return m_sizeText; }
    const std::string& DateText() const { return m_dateText; }

    // The description box's text, as the user edits it.
    std::string description;

    // "&Update File Description": asks, stores the description with every
    // line break as one space and counts the update; with RefResultsImm and
    // the description column shown, the results are run again.
    bool UpdateDescription(Prompter& prompter);

    // "&Disc Detail...": the disc details window to show over this one.
    discs::DiscDetails DiscInfo() const;
    // After that window closed: a disc change reloads the disc list and runs
    // the results again; a deleted disc closes this window.
    void AfterDiscInfo(const discs::DiscDetails& discWindow, Prompter& prompter);

    void Close();
    bool Closed() const { return m_closed; }

  private:
    FileDetailsRecord m_record;
    discs::CatalogViews& m_views;
    std::string m_sizeLabel, m_sizeText, m_dateText;
    bool m_closed = false;
};

// "Size (MB)", "Size (KB)" or "Size (B )".
std::string SizeLabel(int sizeFormat);
// Bytes in a size format's unit with its decimals ("0.0015" MB).
std::string SizeInUnit(const std::string& bytes, int sizeFormat, int sizeNumDec);

// Whether the results show the file description column.
bool ShowsDescription(const ListTable& results);

// Runs the results again after descriptions changed, when RefResultsImm is
// on and the description column shows.
void RefreshDescriptions(discs::CatalogViews& views, Prompter& prompter);

}  // namespace kest::details
