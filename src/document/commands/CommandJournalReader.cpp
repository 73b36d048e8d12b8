#include "document/commands/CommandJournalReader.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "document/commands/GXCommandLogger.h"
#include "platform/core/value.h"

namespace ch {
namespace {

std::string trimmed(std::string_view text)
{
    const char* space = " \t\r\n\f\v";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return std::string();
    std::size_t last = text.find_last_not_of(space);
    return std::string(text.substr(first, last - first + 1));
}

struct ReaderState {
    CommandJournal journal;
    xmlParserCtxtPtr context = nullptr;
    std::vector<std::string> openElements;
    std::string currentTag;
    std::string characters;
    std::optional<std::string> currentCommand;
    std::optional<std::string> currentParameters;
    std::optional<std::string> currentObject;
    std::optional<std::string> currentIdCounters;
    std::optional<std::string> currentObjectName;
    bool stopped = false;
    bool refusedDeclaration = false;
    bool cleanEnd = false;
};

ReaderState& stateOf(void* context)
{
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    return *static_cast<ReaderState*>(parser->_private);
}

// An optional sign and decimal digits.
bool isInteger(std::string_view text)
{
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

void assembleCommandHistoryItem(ReaderState& state)
{
    if (state.currentCommand && isInteger(*state.currentCommand)) {
        auto command = static_cast<std::uint8_t>(Value(*state.currentCommand).toInt() & 0xFF);
        state.journal.items.emplace_back(command, state.currentParameters, state.currentObject);
        if (state.currentIdCounters)
            state.journal.items.back().mIdCounters = GXCommandLogger::idCountersFromText(*state.currentIdCounters);
        state.journal.items.back().mObjectName = state.currentObjectName;
    } else {
        ++state.journal.unreadableEntries;
    }
    state.currentCommand.reset();
    state.currentParameters.reset();
    state.currentObject.reset();
    state.currentIdCounters.reset();
    state.currentObjectName.reset();
}

// The root's "fileStamp" attribute (libxml2 hands attributes over as
// local name, prefix, URI, value start and value end).
void noteFileStamp(ReaderState& state, int attributeCount, const xmlChar** attributes)
{
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        if (std::strcmp(reinterpret_cast<const char*>(attribute[0]), "fileStamp") != 0) continue;
        state.journal.fileStamp = std::string(reinterpret_cast<const char*>(attribute[3]),
                                              static_cast<std::size_t>(attribute[4] - attribute[3]));
    }
}

void startElement(void* context, const xmlChar* localName, const xmlChar*, const xmlChar*, int,
                  const xmlChar**, int attributeCount, int, const xmlChar** attributes)
{
    ReaderState& state = stateOf(context);
    if (state.stopped) return;
    if (state.openElements.empty() && attributes) noteFileStamp(state, attributeCount, attributes);
    state.currentTag = reinterpret_cast<const char*>(localName);
    state.openElements.push_back(state.currentTag);
    state.characters.clear();
}

void endElement(void* context, const xmlChar* localName, const xmlChar*, const xmlChar*)
{
    ReaderState& state = stateOf(context);
    if (state.stopped) return;
    std::string_view name = reinterpret_cast<const char*>(localName);
    if (!state.openElements.empty()) state.openElements.pop_back();
    if (name == "LogEntry") {
        assembleCommandHistoryItem(state);
    } else if (name == state.currentTag) {
        std::string text = trimmed(state.characters);
        if (!text.empty()) {
            if (name == "CommandNumber") state.currentCommand = std::move(text);
            else if (name == "Parameters") state.currentParameters = std::move(text);
            else if (name == "Object") state.currentObject = std::move(text);
            else if (name == "IdCounters") state.currentIdCounters = std::move(text);
            else if (name == "ObjectName") state.currentObjectName = std::move(text);
        }
    }
    state.characters.clear();
}

void characters(void* context, const xmlChar* text, int length)
{
    ReaderState& state = stateOf(context);
    if (state.stopped) return;
    state.characters.append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
}

// A journal never declares a document type: its entities could only be an attack.
void internalSubset(void* context, const xmlChar*, const xmlChar*, const xmlChar*)
{
    ReaderState& state = stateOf(context);
    state.refusedDeclaration = true;
    state.stopped = true;
    xmlStopParser(state.context);
}

void structuredError(void* context, xmlErrorPtr error)
{
    ReaderState& state = stateOf(context);
    if (!error || !state.journal.error.empty() || state.cleanEnd) return;
    state.stopped = true;
    // The one clean end: the unclosed root runs out with nothing else open.
    // Every journal ends so; it is no error and nothing to report.
    if (error->code == XML_ERR_DOCUMENT_END && state.openElements.size() <= 1) {
        state.cleanEnd = true;
        return;
    }
    std::string message = error->message ? trimmed(error->message) : std::string();
    state.journal.error = "Error " + std::to_string(error->code) + ", Description: " + message +
                          ", Line: " + std::to_string(error->line) + ", Column: " + std::to_string(error->int2);
    state.journal.errorLine = error->line;
    state.journal.damaged = true;
}

} // namespace

CommandJournal readCommandJournal(std::string_view text)
{
    ReaderState state;
    // A journal made but never written to (a stop between the two) holds nothing.
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return state.journal;
    bool cut = false;
    if (text.size() > kMaxJournalBytes) {
        text = text.substr(0, kMaxJournalBytes);
        cut = true;
    }

    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = startElement;
    handler.endElementNs = endElement;
    handler.characters = characters;
    handler.cdataBlock = characters;
    handler.internalSubset = internalSubset;
    handler.serror = structuredError;

    xmlParserCtxtPtr context = xmlCreatePushParserCtxt(&handler, nullptr, nullptr, 0, nullptr);
    if (!context) {
        state.journal.damaged = true;
        return state.journal;
    }
    context->_private = &state;
    state.context = context;
    xmlCtxtUseOptions(context, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlParseChunk(context, text.data(), static_cast<int>(text.size()), 1);
    xmlFreeParserCtxt(context);

    if (state.refusedDeclaration || cut) state.journal.damaged = true;
    if (state.refusedDeclaration && state.journal.error.empty())
        state.journal.error = "Error 0, Description: document type declaration refused, Line: 1, Column: 1";
    return state.journal;
}

CommandJournal readCommandJournalFile(const std::string& path)
{
    // What is no regular file (a FIFO would block the reading for ever) is
    // no journal: damage.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return {};
    if (!std::filesystem::is_regular_file(status)) {
        CommandJournal refused;
        refused.damaged = true;
        refused.error = "Error 0, Description: not a regular file, Line: 0, Column: 0";
        return refused;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    std::string text;
    char buffer[65536];
    while (file && text.size() <= kMaxJournalBytes) {
        file.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
    }
    return readCommandJournal(text);
}

} // namespace ch
