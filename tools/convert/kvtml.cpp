#include "kvtml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "common/number.h"
#include "common/quoting.h"
#include "model/text.h"

namespace {

struct Language {
    std::string id;
    std::string locale;
    std::string name;
};

struct ParserContextFree {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};
struct DocumentFree {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

bool isElement(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

const xmlNode* child(const xmlNode* parent, const char* name) {
    for (const xmlNode* node = parent->children; node != nullptr; node = node->next) {
        if (isElement(node, name)) {
            return node;
        }
    }
    return nullptr;
}

std::string attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value == nullptr ? "" : reinterpret_cast<const char*>(value);
    xmlFree(value);
    return text;
}

// The stripped text inside the node; empty for a missing node.
std::string content(const xmlNode* node) {
    if (node == nullptr) {
        return {};
    }
    xmlChar* value = xmlNodeGetContent(node);
    std::string text(stripped(value == nullptr ? "" : reinterpret_cast<const char*>(value)));
    xmlFree(value);
    return text;
}

// An entity declared in the document could expand beyond any bound (or reach outside the file),
// so the first declaration ends the parse.
void refuseEntityDeclaration(void* context, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
    auto* parserContext = static_cast<xmlParserCtxt*>(context);
    *static_cast<bool*>(parserContext->_private) = true;
    xmlStopParser(parserContext);
}

std::unique_ptr<xmlDoc, DocumentFree> parsedDocument(std::string_view bytes, const std::string& encoding) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw InputError(0, "the document is too large to read");
    }
    const std::unique_ptr<xmlParserCtxt, ParserContextFree> context(xmlNewParserCtxt());
    if (context == nullptr) {
        throw InputError(0, "out of memory");
    }
    bool entityDeclared = false;
    context->_private = &entityDeclared;
    context->sax->entityDecl = refuseEntityDeclaration;
    std::unique_ptr<xmlDoc, DocumentFree> document(
        xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr,
                          encoding.empty() ? nullptr : encoding.c_str(),
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES));
    if (entityDeclared) {
        throw InputError(static_cast<std::uint64_t>(xmlSAX2GetLineNumber(context.get())),
                         "the document declares an entity, which is not read");
    }
    if (document == nullptr || context->wellFormed == 0) {
        const xmlError* error = xmlCtxtGetLastError(context.get());
        std::string message = error != nullptr && error->message != nullptr ? error->message : "not well-formed XML";
        message = std::string(stripped(message));
        throw InputError(error != nullptr && error->line > 0 ? static_cast<std::uint64_t>(error->line) : 0,
                         "ill-formed XML: " + message);
    }
    return document;
}

std::vector<Language> languagesOf(const xmlNode* root) {
    std::vector<Language> languages;
    if (const xmlNode* identifiers = child(root, "identifiers")) {
        for (const xmlNode* node = identifiers->children; node != nullptr; node = node->next) {
            if (isElement(node, "identifier")) {
                languages.push_back(
                    {attribute(node, "id"), content(child(node, "locale")), content(child(node, "name"))});
            }
        }
    }
    return languages;
}

constexpr std::size_t none = static_cast<std::size_t>(-1);

// The position of the identifier that the choice names; none for an empty choice.
std::size_t namedLanguage(const std::vector<Language>& languages, const std::string& choice) {
    if (choice.empty()) {
        return none;
    }
    for (std::string Language::*field : {&Language::id, &Language::locale, &Language::name}) {
        for (std::size_t i = 0; i < languages.size(); ++i) {
            if (languages[i].*field == choice) {
                return i;
            }
        }
    }
    if (const std::optional<std::size_t> position = plainNumber(choice); position && *position < languages.size()) {
        return *position;
    }
    throw InputError(0, "no language " + quoted(choice) + " among the identifiers");
}

// The text of the entry's translation into the language with this id.
std::string translationText(const xmlNode* entry, const std::string& id) {
    for (const xmlNode* node = entry->children; node != nullptr; node = node->next) {
        if (isElement(node, "translation") && attribute(node, "id") == id) {
            return content(child(node, "text"));
        }
    }
    return {};
}

}  // namespace

void readKvtml(std::string_view bytes, const std::string& encoding, const LanguageChoice& languages,
               std::string_view alternatives, Reporter& reporter, const PairSink& sink) {
    const auto document = parsedDocument(bytes, encoding);
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (root == nullptr || !isElement(root, "kvtml")) {
        throw InputError(0, "not a kvtml document: the outermost element is not <kvtml>");
    }
    const std::string version = attribute(root, "version");
    if (!version.starts_with("2")) {
        throw InputError(static_cast<std::uint64_t>(xmlGetLineNo(root)),
                         "kvtml version " + quoted(version) + " is not read; only version 2");
    }
    const std::vector<Language> found = languagesOf(root);
    if (found.size() < 2) {
        throw InputError(0, found.empty() ? "the document names no language; two are needed"
                                          : "the document names one language; two are needed");
    }
    std::size_t from = namedLanguage(found, languages.from);
    std::size_t to = namedLanguage(found, languages.to);
    // A side left open takes the first language that the other side does not.
    if (from == none) {
        from = to == 0 ? 1 : 0;
    }
    if (to == none) {
        to = from == 0 ? 1 : 0;
    }
    if (found[from].id == found[to].id && languages.from.empty() && languages.to.empty()) {
        throw InputError(0, "the first two languages have the same id, " + quoted(found[from].id));
    }
    if (found[from].id == found[to].id) {
        throw WrongUsage("--from and --to name the same language, "
                         + quoted(found[from].name.empty() ? found[from].id : found[from].name));
    }
    const std::string& fromId = found[from].id;
    const std::string& toId = found[to].id;
    const xmlNode* entries = child(root, "entries");
    if (entries == nullptr) {
        return;
    }
    Pair pair;
    for (const xmlNode* node = entries->children; node != nullptr; node = node->next) {
        if (!isElement(node, "entry")) {
            continue;
        }
        pair.line = static_cast<std::uint64_t>(xmlGetLineNo(node));
        pair.words.clear();
        pair.translations.clear();
        const std::string texts[] = {translationText(node, fromId), translationText(node, toId)};
        for (const std::string& text : texts) {
            if (appendItems(text, alternatives, &text == &texts[0] ? pair.words : pair.translations) > 0) {
                reporter.skip(pair.line, "an empty alternative in " + quoted(text));
            }
        }
        sink(pair);
    }
}
