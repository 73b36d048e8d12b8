#pragma once
// The elements of an OFX statement as a tree, and the few queries the reader
// asks of it. Both forms of OFX become such a tree:
//   - OFX 2 is XML and goes through libxml2 (no network, no DTD, entities
//     not expanded);
//   - OFX 1 is SGML whose leaf elements are seldom closed. An element whose
//     opening tag is followed by text is a leaf holding that text (up to the
//     next tag; a closing tag right after it is taken along). An element
//     followed directly by another tag holds the elements up to its closing
//     tag when the text closes it somewhere later, and is an empty leaf
//     otherwise. A closing tag without an open element of its name is
//     ignored; one that closes an outer element closes the inner ones too.
// The SGML reader takes comments, processing instructions, declarations and
// CDATA sections in its stride, so it also reads damaged XML.
//
// Nesting is bounded (kMaxDepth): deeper elements are kept as leaves of the
// deepest one, so no input can exhaust the stack.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ch {

class OfxNode {
public:
    static constexpr std::size_t kMaxDepth = 200;

    OfxNode() = default;
    explicit OfxNode(std::string name) : mName(std::move(name)) {}

    // Empty for a text node and for the document.
    const std::string& name() const { return mName; }
    // A text node's text.
    const std::string& text() const { return mText; }
    const std::vector<std::unique_ptr<OfxNode>>& children() const { return mChildren; }

    OfxNode& addElement(std::string name);
    void addText(std::string_view text);

    // An element the text ends inside (read with holdUnclosed): what it
    // holds may be cut short.
    bool unclosed() const { return mUnclosed; }
    void markUnclosed() { mUnclosed = true; }
    // The line of the file the element's opening tag stands on (from 1); 0
    // when not known.
    std::size_t line() const { return mLine; }
    void setLine(std::size_t line) { mLine = line; }

    // The text of the node and of everything below it, joined in order.
    std::string stringValue() const;
    // The first child element of the name ("./NAME"), or null.
    const OfxNode* child(std::string_view name) const;
    // The first element of the name below the node, in document order
    // (".//NAME"), or null.
    const OfxNode* descendant(std::string_view name) const;
    // Every element of the name below the node, in document order.
    std::vector<const OfxNode*> descendants(std::string_view name) const;

private:
    std::string mName;
    std::string mText;
    std::vector<std::unique_ptr<OfxNode>> mChildren;
    bool mUnclosed = false;
    std::size_t mLine = 0;
};

// An OFX 1 body (from "<OFX>" on) as a document node. A text cut short before
// its closing tags is read with holdUnclosed: an element followed directly by
// another tag and never closed then holds everything to the end of the text,
// marked unclosed (OFX leaves are never empty, so it is an aggregate).
// Elements know their line, counted from firstLine for the text's first.
std::unique_ptr<OfxNode> readOfxSgml(std::string_view text, bool holdUnclosed = false, std::size_t firstLine = 1);

struct OfxXmlResult {
    std::unique_ptr<OfxNode> document;   // null when nothing could be read
    bool wellFormed = false;             // read without any error
};
// An OFX 2 text (UTF-8, whatever its declaration says) as a document node;
// libxml2 in recover mode.
OfxXmlResult readOfxXml(std::string_view utf8);

} // namespace ch
