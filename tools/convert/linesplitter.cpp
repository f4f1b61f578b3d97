#include "linesplitter.h"

#include "parser/linereader.h"

bool LineSplitter::next(std::string_view& content, std::string_view& whole) {
    if (start_ >= text_.size()) {
        return false;
    }
    const char* const text = text_.data();
    const auto end = static_cast<std::size_t>(findLineEnd(text + start_, text + text_.size()) - text);
    const std::size_t next = end == text_.size() ? end : end + lineEndLength(text_.substr(end));
    content = text_.substr(start_, end - start_);
    whole = text_.substr(start_, next - start_);
    start_ = next;
    return true;
}
