#include "core/update/UpdateCheck.h"

#include "core/common/KestError.h"
#include "core/shell/ShellRun.h"
#include "core/update/UpdateFiles.h"

namespace kest::update {
namespace {

// Runs a command under the window's error trap: the error is shown and the
// window stays usable.
template <typename Command>
void Trapped(UpdateContext& context, UpdateView& view, Command command) {
    try {
        command();
    } catch (const KestError& e) {
        view.SetBusyPointer(false);
        view.EnableCheck(true);
        context.prompter.ShowError(kUpdateErrorTitle, e.Number(), e.Description());
    }
}

}  // namespace

void CheckForUpdate(UpdateContext& context, UpdateView& view) {
    Trapped(context, view, [&] {
        view.SetCaption("Update");
        view.SetBusyPointer(true);
        view.EnableCheck(false);
        view.EnableDownload(false);
        view.ShowLink(false);
        view.SetNews("");
        std::optional<std::string> body = FetchBody(context.http, context.base, kVersionFile);
        if (!body) {
            view.SetBusyPointer(false);
            view.EnableCheck(true);
            context.prompter.Show(kUpdateErrorTitle,
                                  std::string("The update check failed. You must check for the") +
                                      "\r\nnew version of this application manually at\r\n" +
                                      HomePage() + ".",
                                  Icon::Critical);
            view.ShowLink(true);
            return;
        }
        Release web = ParseRelease(*body);
        std::string webText = ReleaseText(web), currentText = ReleaseText(context.current);
        if (IsNewer(web, context.current)) {
            view.SetCaption("Update available from v" + currentText + " to v" + webText);
            view.EnableDownload(true);
            std::optional<std::string> news = FetchBody(context.http, context.base, kNewsFile);
            view.SetNews(news ? *news : "Unable to get news for Kest.");
            view.ShowNews();
            view.FocusDownload();
        } else {
            context.prompter.Show("Kest update",
                                  "Web release = " + webText + "\r\nYour release = " + currentText +
                                      "\r\nYou have the latest release of Kest.",
                                  Icon::Information);
            view.FocusCancel();
        }
        view.SetBusyPointer(false);
        view.EnableCheck(true);
    });
}

void DownloadUpdate(UpdateContext& context, UpdateView& view) {
    Trapped(context, view, [&] {
        view.SetBusyPointer(true);
        view.EnableDownload(false);
        std::optional<std::string> address = FetchBody(context.http, context.base, kDownloadFile);
        if (address) {
            Answer answer =
                context.prompter.Show("Instructions",
                                      "This feature will download the installer package\r\n"
                                      "for the new version of Kest. After the download\r\n"
                                      "is complete, please exit the current running version\r\n"
                                      "of Kest before installing the new version.",
                                      Icon::Information, Buttons::OKCancel);
            if (answer == Answer::OK) OpenAddress(context, *address);
            view.SetBusyPointer(false);
            view.EnableDownload(true);
            return;
        }
        view.SetBusyPointer(false);
        view.EnableDownload(true);
        context.prompter.Show("Error in download",
                              std::string("An error has occured. You must manually download the "
                                          "new\r\nversion of Kest at ") +
                                  HomePage(),
                              Icon::Critical);
        view.ShowLink(true);
    });
}

void OpenAddress(UpdateContext& context, const std::string& address) {
    shell::ShellRun(context.shell, context.prompter, address, platform::ShellVerb::Open);
}

}  // namespace kest::update
