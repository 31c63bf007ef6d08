#include "ui/platform_texts.h"

#include <algorithm>

namespace tovarin {

std::string NulSeparatedFilter(std::string_view filter) {
    std::string converted(filter);
    std::replace(converted.begin(), converted.end(), '|', '\0');
    converted.append(2, '\0');
    return converted;
}

std::string TrimSystemMessage(std::string text) {
    const auto end = text.find_last_not_of(" \t\r\n.");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

}  // namespace tovarin
