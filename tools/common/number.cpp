#include "common/number.h"

std::optional<std::size_t> plainNumber(std::string_view text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t number = 0;
    for (const char digit : text) {
        number = number * 10 + static_cast<std::size_t>(digit - '0');
    }
    return number;
}
