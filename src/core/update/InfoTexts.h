#pragma once

#include <string>
#include <vector>

namespace kest::update {

// The about window's release history and credits.
std::string ReleaseHistory();

// One tab of the help contents window.
struct HelpTopic {
    std::string title;
    std::string text;  // lines separated by "\n", laid out for a fixed-width font
};
const std::vector<HelpTopic>& HelpTopics();

}  // namespace kest::update
