#pragma once
// What the application shell asks of the documents: a new one, one opened
// from its file, and whether any is open (the shell keeps its own window on
// screen only while none is).

#include <string>

namespace ch {

class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    // A new, untitled document; the assistant opens as
    // "GXShowNewDocumentAssistant" says.
    virtual void newDocument() = 0;
    // Opens the file (or brings its window forward when it is open); false
    // when it could not be opened (the reason was shown).
    virtual bool openDocumentFile(const std::string& path) = 0;
    virtual bool hasOpenDocuments() const = 0;
};

} // namespace ch
