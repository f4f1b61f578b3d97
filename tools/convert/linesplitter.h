#pragma once

#include <cstddef>
#include <string_view>

// Hands out the lines of a text one by one, cut where a dictionary's lines are cut.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}

    // False at the end of the text. `content` is the line without its end, `whole` with it.
    bool next(std::string_view& content, std::string_view& whole);

private:
    std::string_view text_;
    std::size_t start_ = 0;
};
