#include "core/text/ControlChars.h"

namespace kest::text {

void MaskControls(std::string& text) {
    for (char& c : text) {
        if (IsControl(c)) c = '?';
    }
}

}  // namespace kest::text
