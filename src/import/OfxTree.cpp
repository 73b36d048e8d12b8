#include "import/OfxTree.h"

#include <algorithm>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <unordered_map>

namespace ch {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool blankOnly(std::string_view text)
{
    return trimmed(text).empty();
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character a reference names ("amp", "#38", "#x26"); none for one it
// does not know. A reference to no character stands for U+FFFD.
std::optional<char32_t> referencedCharacter(std::string_view name)
{
    if (name == "amp") return U'&';
    if (name == "lt") return U'<';
    if (name == "gt") return U'>';
    if (name == "quot") return U'"';
    if (name == "apos") return U'\'';
    if (name.size() < 2 || name.front() != '#') return std::nullopt;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return U'\uFFFD';
    return static_cast<char32_t>(value);
}

constexpr std::size_t kLongestReference = 10;   // "#x10FFFF;" and a little more

// Character references decoded; a bare "&" (common in bank files) stays.
std::string decodedText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '&') {
            // A reference is short: look no further than its longest form.
            const std::size_t semicolon = text.substr(i + 1, kLongestReference).find(';');
            if (semicolon != std::string_view::npos) {
                if (const auto c = referencedCharacter(text.substr(i + 1, semicolon))) {
                    appendUtf8(out, *c);
                    i += semicolon + 2;
                    continue;
                }
            }
        }
        out += text[i++];
    }
    return out;
}

bool startsAt(std::string_view text, std::size_t at, std::string_view what)
{
    return text.compare(at, what.size(), what) == 0;
}

// The next "<" that starts a tag, comment or declaration; a "<" followed by
// anything else is text ("1 < 2").
std::size_t nextTagStart(std::string_view text, std::size_t from)
{
    for (std::size_t at = text.find('<', from); at != std::string_view::npos; at = text.find('<', at + 1)) {
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        if ((next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z') || next == '/' || next == '!' || next == '?' ||
            next == '_')
            return at;
    }
    return std::string_view::npos;
}

// The first ">" after the place, before the next "<"; none when a "<" or the
// end comes first. Bounded so that text full of "<" costs linear time.
std::size_t tagEnd(std::string_view text, std::size_t from)
{
    for (std::size_t at = from; at < text.size(); ++at) {
        if (text[at] == '>') return at;
        if (text[at] == '<') break;
    }
    return std::string_view::npos;
}

// The place after the closing tag of the name at the place ("</NAME>", blanks
// allowed inside); none when no such tag stands there.
std::optional<std::size_t> closingTagAt(std::string_view text, std::size_t at, std::string_view name)
{
    if (!startsAt(text, at, "</")) return std::nullopt;
    const std::size_t close = tagEnd(text, at + 2);
    if (close == std::string_view::npos || trimmed(text.substr(at + 2, close - at - 2)) != name) return std::nullopt;
    return close + 1;
}

void convertXml(const xmlNode* node, OfxNode& into, std::size_t depth)
{
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            OfxNode& element = into.addElement(reinterpret_cast<const char*>(child->name));
            element.setLine(static_cast<std::size_t>(std::max(0L, xmlGetLineNo(child))));
            if (depth < OfxNode::kMaxDepth) convertXml(child, element, depth + 1);
        } else if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && child->content) {
            into.addText(reinterpret_cast<const char*>(child->content));
        }
        // Entity references, comments and processing instructions carry no statement data.
    }
}

} // namespace

// --- the tree

OfxNode& OfxNode::addElement(std::string name)
{
    mChildren.push_back(std::make_unique<OfxNode>(std::move(name)));
    return *mChildren.back();
}

void OfxNode::addText(std::string_view text)
{
    if (text.empty()) return;
    if (!mChildren.empty() && mChildren.back()->mName.empty()) {
        mChildren.back()->mText += text;
        return;
    }
    auto node = std::make_unique<OfxNode>();
    node->mText = std::string(text);
    mChildren.push_back(std::move(node));
}

std::string OfxNode::stringValue() const
{
    std::string value = mText;
    std::vector<const OfxNode*> pending;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        const OfxNode* node = pending.back();
        pending.pop_back();
        value += node->mText;
        for (auto it = node->mChildren.rbegin(); it != node->mChildren.rend(); ++it) pending.push_back(it->get());
    }
    return value;
}

const OfxNode* OfxNode::child(std::string_view name) const
{
    for (const auto& node : mChildren)
        if (!node->mName.empty() && node->mName == name) return node.get();
    return nullptr;
}

std::vector<const OfxNode*> OfxNode::descendants(std::string_view name) const
{
    std::vector<const OfxNode*> found;
    std::vector<const OfxNode*> pending;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        const OfxNode* node = pending.back();
        pending.pop_back();
        if (!node->mName.empty() && node->mName == name) found.push_back(node);
        for (auto it = node->mChildren.rbegin(); it != node->mChildren.rend(); ++it) pending.push_back(it->get());
    }
    return found;
}

const OfxNode* OfxNode::descendant(std::string_view name) const
{
    std::vector<const OfxNode*> pending;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        const OfxNode* node = pending.back();
        pending.pop_back();
        if (!node->mName.empty() && node->mName == name) return node;
        for (auto it = node->mChildren.rbegin(); it != node->mChildren.rend(); ++it) pending.push_back(it->get());
    }
    return nullptr;
}

// --- OFX 1

std::unique_ptr<OfxNode> readOfxSgml(std::string_view text, bool holdUnclosed, std::size_t firstLine)
{
    // The line at a place, counted on from the last place asked (places only grow).
    std::size_t line = firstLine;
    std::size_t counted = 0;
    auto lineAt = [&](std::size_t at) {
        for (; counted < at && counted < text.size(); ++counted) {
            const char c = text[counted];
            if (c == '\n' || (c == '\r' && (counted + 1 >= text.size() || text[counted + 1] != '\n'))) ++line;
        }
        return line;
    };
    // Where each name is closed last: an element with a closing tag later on
    // holds what comes up to it.
    std::unordered_map<std::string_view, std::size_t> lastClosing;
    for (std::size_t at = text.find("</"); at != std::string_view::npos; at = text.find("</", at + 2)) {
        const std::size_t close = tagEnd(text, at + 2);
        if (close == std::string_view::npos) continue;
        lastClosing[trimmed(text.substr(at + 2, close - at - 2))] = at;
    }

    auto document = std::make_unique<OfxNode>();
    std::vector<OfxNode*> open{document.get()};
    auto strayText = [&](std::string_view piece) {
        if (!blankOnly(piece)) open.back()->addText(decodedText(piece));
    };

    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lt = nextTagStart(text, pos);
        if (lt == std::string_view::npos) {
            strayText(text.substr(pos));
            break;
        }
        if (lt > pos) strayText(text.substr(pos, lt - pos));
        pos = lt;
        auto skipPast = [&](std::string_view end, std::size_t from) {
            const std::size_t found = text.find(end, from);
            pos = found == std::string_view::npos ? text.size() : found + end.size();
        };
        if (startsAt(text, pos, "<!--")) {
            skipPast("-->", pos + 4);
            continue;
        }
        if (startsAt(text, pos, "<![CDATA[")) {
            const std::size_t end = text.find("]]>", pos + 9);
            const std::size_t length = end == std::string_view::npos ? std::string_view::npos : end - pos - 9;
            open.back()->addText(text.substr(pos + 9, length));
            pos = end == std::string_view::npos ? text.size() : end + 3;
            continue;
        }
        if (startsAt(text, pos, "<?")) {
            skipPast("?>", pos + 2);
            continue;
        }
        if (startsAt(text, pos, "<!")) {
            skipPast(">", pos + 2);
            continue;
        }
        const std::size_t gt = tagEnd(text, pos + 1);
        if (gt == std::string_view::npos) {
            // A tag that never ends is text.
            const std::size_t nextLt = nextTagStart(text, pos + 1);
            const std::size_t end = nextLt == std::string_view::npos ? text.size() : nextLt;
            strayText(text.substr(pos, end - pos));
            pos = end;
            continue;
        }
        std::string_view tag = trimmed(text.substr(pos + 1, gt - pos - 1));
        pos = gt + 1;
        if (tag.empty()) continue;
        if (tag.front() == '/') {
            const std::string_view name = trimmed(tag.substr(1));
            for (std::size_t i = open.size(); i-- > 1;) {
                if (open[i]->name() == name) {
                    open.resize(i);
                    break;
                }
            }
            continue;
        }
        const bool selfClosing = tag.back() == '/';
        if (selfClosing) tag.remove_suffix(1);
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && !isBlank(tag[nameEnd])) ++nameEnd;
        const std::string_view name = tag.substr(0, nameEnd);
        if (name.empty()) continue;
        const std::size_t tagLine = lineAt(lt);
        if (selfClosing) {
            open.back()->addElement(std::string(name)).setLine(tagLine);
            continue;
        }

        std::size_t contentEnd = nextTagStart(text, pos);
        if (contentEnd == std::string_view::npos) contentEnd = text.size();
        const std::string_view value = trimmed(text.substr(pos, contentEnd - pos));
        if (!value.empty()) {
            OfxNode& leaf = open.back()->addElement(std::string(name));
            leaf.setLine(tagLine);
            leaf.addText(decodedText(value));
            pos = closingTagAt(text, contentEnd, name).value_or(contentEnd);
            continue;
        }
        if (const auto after = closingTagAt(text, contentEnd, name)) {
            open.back()->addElement(std::string(name)).setLine(tagLine);
            pos = *after;
            continue;
        }
        OfxNode& element = open.back()->addElement(std::string(name));
        element.setLine(tagLine);
        const auto closing = lastClosing.find(name);
        const bool closedLater = closing != lastClosing.end() && closing->second >= contentEnd;
        // No OFX aggregate holds one of its own name: a cut text never nests so.
        const bool held = holdUnclosed && std::none_of(open.begin(), open.end(),
                                                       [&](const OfxNode* each) { return each->name() == name; });
        if ((closedLater || held) && open.size() <= OfxNode::kMaxDepth) {
            if (!closedLater) element.markUnclosed();
            open.push_back(&element);
        }
    }
    return document;
}

// --- OFX 2

OfxXmlResult readOfxXml(std::string_view utf8)
{
    OfxXmlResult result;
    if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return result;
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context) return result;
    // No network, no DTD, entities left unexpanded, no messages on stderr.
    const int options = XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                        XML_PARSE_NOCDATA;
    xmlDocPtr document = xmlCtxtReadMemory(context, utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                                           options);
    result.wellFormed = document && context->wellFormed;
    if (document) {
        result.document = std::make_unique<OfxNode>();
        if (const xmlNode* root = xmlDocGetRootElement(document)) {
            OfxNode& element = result.document->addElement(reinterpret_cast<const char*>(root->name));
            convertXml(root, element, 1);
        }
        xmlFreeDoc(document);
    }
    xmlFreeParserCtxt(context);
    return result;
}

} // namespace ch
