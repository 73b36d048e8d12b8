#pragma once
// The document as the model and its bridge see it. The document owns one
// model root, keeps the dirty state itself (the root's SetModified hook
// passes every change to the books on to updateChangeCount) and hears the
// model's change messages through its listener bridge.
//
// The document reads a file by wrapping its bytes in an LDataStream and
// calling CDocAccounting::initFromStream; on success the stream's marker
// stands on the end tag 'FiNi', and what follows those 4 bytes is the
// document's own container. It saves by attaching a buffer to a GXDataStream,
// calling DoSave (which ends with 'FiNi') and appending its container.

#include "model/foundation/LBroadcaster.h"

namespace ch {

class CDocAccounting;

class DocumentServices {
public:
    virtual ~DocumentServices();

    // The document's model root; never null once the document is set up.
    virtual CDocAccounting* accounting() = 0;

    // A model message forwarded to the document: 2015 (one object inserted)
    // and 2016 (objects removed) mark the document changed, and 2015 with a
    // transaction also puts that transaction's row at the top of the
    // transaction table when it is not there yet; other messages are ignored.
    virtual void ListenToMessage(MessageT message, void* param) = 0;

    // Marks the document changed.
    virtual void updateChangeCount() = 0;
};

} // namespace ch
