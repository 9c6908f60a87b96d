#include "core/ui/Prompter.h"

#include <strings.h>

#include <array>

namespace kest {

Answer ButtonAnswer(Buttons buttons, int n) {
    switch (buttons) {
        case Buttons::OKOnly:
            return Answer::OK;
        case Buttons::OKCancel:
            return n == 2 ? Answer::Cancel : Answer::OK;
        case Buttons::AbortRetryIgnore:
            return n == 3 ? Answer::Ignore : n == 2 ? Answer::Retry : Answer::Abort;
        case Buttons::YesNoCancel:
            return n == 3 ? Answer::Cancel : n == 2 ? Answer::No : Answer::Yes;
        case Buttons::YesNo:
            return n == 2 ? Answer::No : Answer::Yes;
        case Buttons::RetryCancel:
            return n == 2 ? Answer::Cancel : Answer::Retry;
    }
    return Answer::OK;
}

int ButtonCount(Buttons buttons) {
    switch (buttons) {
        case Buttons::OKOnly:
            return 1;
        case Buttons::AbortRetryIgnore:
        case Buttons::YesNoCancel:
            return 3;
        case Buttons::OKCancel:
        case Buttons::YesNo:
        case Buttons::RetryCancel:
            break;
    }
    return 2;
}

size_t DefaultButtonIndex(Buttons buttons, int defaultButton) {
    if (defaultButton < 1 || defaultButton > ButtonCount(buttons)) return 0;
    return static_cast<size_t>(defaultButton - 1);
}

Answer ClosedAnswer(Buttons buttons) {
    return ButtonAnswer(buttons, ButtonCount(buttons));
}

FileDialogBehaviour DialogBehaviour(int flags) {
    return {(flags & kFileMustExistFlag) != 0, (flags & kOverwritePromptFlag) != 0};
}

const char* ButtonsName(Buttons buttons) {
    switch (buttons) {
        case Buttons::OKOnly:
            return "OKOnly";
        case Buttons::OKCancel:
            return "OKCancel";
        case Buttons::AbortRetryIgnore:
            return "AbortRetryIgnore";
        case Buttons::YesNoCancel:
            return "YesNoCancel";
        case Buttons::YesNo:
            return "YesNo";
        case Buttons::RetryCancel:
            return "RetryCancel";
    }
    return "?";
}

const char* IconName(Icon icon) {
    switch (icon) {
        case Icon::None:
            return "None";
        case Icon::Critical:
            return "Critical";
        case Icon::Question:
            return "Question";
        case Icon::Exclamation:
            return "Exclamation";
        case Icon::Information:
            return "Information";
    }
    return "?";
}

namespace {
constexpr std::array<const char*, 7> kAnswerNames = {"OK",     "Cancel", "Abort", "Retry",
                                                     "Ignore", "Yes",    "No"};
}

const char* AnswerName(Answer answer) {
    return kAnswerNames[static_cast<size_t>(answer) - 1];
}

std::optional<Answer> ParseAnswer(const std::string& name) {
    for (size_t i = 0; i < kAnswerNames.size(); ++i) {
        if (strcasecmp(name.c_str(), kAnswerNames[i]) == 0) return static_cast<Answer>(i + 1);
    }
    return std::nullopt;
}

}  // namespace kest
