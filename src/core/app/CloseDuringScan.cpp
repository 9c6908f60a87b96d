#include "core/app/CloseDuringScan.h"

namespace kest::app {

bool CancelScanToExit(Prompter& prompter) {
    return prompter.Show(kAppTitle, "A scan is in progress. Cancel it and exit?", Icon::Question,
                         Buttons::YesNo, 2) == Answer::Yes;
}

}  // namespace kest::app
