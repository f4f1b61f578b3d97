#include "flashcards.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "common/errors.h"
#include "common/quoting.h"
#include "linesplitter.h"
#include "model/text.h"

namespace {

constexpr std::string_view noBreakSpace = "\xC2\xA0";

constexpr std::string_view nonFieldColumnKeys[] = {"guid column", "notetype column", "deck column", "tags column"};

// Elements that a browser shows on a line of their own, or as a line break.
constexpr std::string_view breakingElements[] = {"br", "div", "p", "li", "tr", "h1", "h2", "h3", "h4", "h5", "h6"};
constexpr std::string_view hiddenElements[] = {"script", "style", "head", "title"};
constexpr std::string_view mediaElements[] = {"img", "audio", "video", "object", "embed"};
constexpr std::string_view soundStart = "[sound:";

bool isHeaderLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    return line.starts_with('#') && colon != std::string_view::npos && colon > 1;
}

std::size_t columnIn(std::string_view value, std::uint64_t line) {
    const std::optional<std::size_t> column = columnNumber(value);
    if (!column) {
        throw InputError(line, quoted(value) + " is not a column number");
    }
    return *column;
}

template <std::size_t count>
bool isOneOf(std::string_view text, const std::string_view (&names)[count]) {
    for (const std::string_view candidate : names) {
        if (equalIgnoringAsciiCase(text, candidate)) {
            return true;
        }
    }
    return false;
}

std::string_view elementName(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

void appendShownText(const xmlNode* node, std::string& out, std::size_t& media) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            out += reinterpret_cast<const char*>(node->content);
        } else if (node->type == XML_ELEMENT_NODE && isOneOf(elementName(node), mediaElements)) {
            ++media;
        } else if (node->type == XML_ELEMENT_NODE && !isOneOf(elementName(node), hiddenElements)) {
            const bool breaking = isOneOf(elementName(node), breakingElements);
            out += breaking ? " " : "";
            appendShownText(node->children, out, media);
            out += breaking ? " " : "";
        }
    }
}

// Collapses every run of white space, no-break spaces included, to one space and strips the ends.
std::string collapsedSpace(std::string_view text) {
    std::string out;
    bool pendingSpace = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isWhiteSpace(text[i]) || text.substr(i).starts_with(noBreakSpace)) {
            i += isWhiteSpace(text[i]) ? 0 : noBreakSpace.size() - 1;
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) {
            out += ' ';
            pendingSpace = false;
        }
        out += text[i];
    }
    return out;
}

struct HtmlDocumentFree {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

}  // namespace

bool looksLikeFlashcards(std::string_view text) {
    return isHeaderLine(text.substr(0, text.find('\n')));
}

FlashcardExport flashcardExport(std::string_view text) {
    FlashcardExport result;
    LineSplitter lines(text);
    std::string_view content;
    std::string_view whole;
    std::size_t start = 0;
    std::uint64_t lineNumber = 1;
    for (; lines.next(content, whole); ++lineNumber) {
        const std::string_view line = stripped(content);
        if (!isHeaderLine(line)) {
            break;
        }
        const std::size_t colon = line.find(':');
        const std::string_view key = stripped(line.substr(1, colon - 1));
        const std::string_view value = stripped(line.substr(colon + 1));
        if (equalIgnoringAsciiCase(key, "separator")) {
            result.separator = separatorNamed(value);
            if (result.separator == 0) {
                throw InputError(lineNumber, "unknown separator " + quoted(value));
            }
        } else if (equalIgnoringAsciiCase(key, "html")) {
            result.html = equalIgnoringAsciiCase(value, "true");
        } else if (isOneOf(key, nonFieldColumnKeys)) {
            result.otherColumns.push_back(columnIn(value, lineNumber));
        }
        start += whole.size();
    }
    result.notes = text.substr(start);
    result.firstNoteLine = lineNumber;
    return result;
}

void readFlashcards(std::string_view text, const TableOptions& options, Reporter& reporter, const PairSink& sink) {
    const FlashcardExport notes = flashcardExport(text);
    RecordLayout layout;
    layout.uncounted = notes.otherColumns;
    std::sort(layout.uncounted.begin(), layout.uncounted.end());
    layout.uncounted.erase(std::unique(layout.uncounted.begin(), layout.uncounted.end()), layout.uncounted.end());
    layout.noun = "field";
    layout.separator = options.separator != '\0' ? options.separator : notes.separator;
    layout.html = notes.html;
    layout.mediaReferences = true;
    TableSyntax syntax;
    syntax.separator = layout.separator;
    syntax.firstLine = notes.firstNoteLine;
    syntax.hashComments = true;
    EntriesFromRecords entries(options, layout, reporter, sink);
    readRecords(notes.notes, syntax, [&entries](const Record& record) { entries.take(record); });
    entries.finish();
}

std::string htmlFieldText(std::string_view html, std::size_t* media) {
    if (html.find_first_of("<&") == std::string_view::npos) {
        return collapsedSpace(html);
    }
    const std::unique_ptr<xmlDoc, HtmlDocumentFree> document(
        htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                       HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
    std::string shown;
    std::size_t mediaLeftOut = 0;
    if (document != nullptr) {
        appendShownText(xmlDocGetRootElement(document.get()), shown, mediaLeftOut);
    }
    if (media != nullptr) {
        *media += mediaLeftOut;
    }
    return collapsedSpace(shown);
}

std::size_t withoutSoundReferences(std::string_view text, std::string& out) {
    std::size_t found = 0;
    std::size_t copied = 0;
    for (std::size_t start = text.find(soundStart); start != std::string_view::npos;
         start = text.find(soundStart, start + 1)) {
        const std::size_t end = text.find(']', start);
        if (end == std::string_view::npos) {
            break;
        }
        if (found++ == 0) {
            out.clear();
        }
        std::size_t cut = start;
        while (cut > copied && isWhiteSpace(text[cut - 1])) {
            --cut;
        }
        out.append(text.substr(copied, cut - copied));
        copied = end + 1;
        start = end;
    }
    if (found > 0) {
        out.append(text.substr(copied));
    }
    return found;
}
