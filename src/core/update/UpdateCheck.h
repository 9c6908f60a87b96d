#pragma once

#include <string>

#include "core/ui/Prompter.h"
#include "core/update/BuildInfo.h"
#include "core/update/HttpClient.h"
#include "platform/Shell.h"

namespace kest::update {

// What the update check and the download change in the update window.
class UpdateView {
  public:
    virtual ~UpdateView() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetBusyPointer(bool busy) = 0;
    virtual void EnableCheck(bool enabled) = 0;
    virtual void EnableDownload(bool enabled) = 0;
    virtual void ShowLink(bool shown) = 0;
    virtual void SetNews(const std::string& text) = 0;
    // Grows the window so that the news box shows.
    virtual void ShowNews() = 0;
    virtual void FocusDownload() = 0;
    virtual void FocusCancel() = 0;
};

// What the update commands work with.
struct UpdateContext {
    HttpClient& http;
    Prompter& prompter;
    platform::Shell& shell;
    std::string base;  // the published files' base address
    Release current;   // the running release
};

inline constexpr const char* kUpdateErrorTitle = "Error in update";

// cmdCheck: asks the site for its newest release; offers it with its news
// when it is newer, else says the running one is the latest.
void CheckForUpdate(UpdateContext& context, UpdateView& view);
// cmdDown: shows the instructions and hands the installer's address to the
// desktop.
void DownloadUpdate(UpdateContext& context, UpdateView& view);
// cmdLink and the other links to the maker's site: hands an address to the
// desktop's "open".
void OpenAddress(UpdateContext& context, const std::string& address);

}  // namespace kest::update
