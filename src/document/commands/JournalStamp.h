#pragma once
// The stamp that ties a command journal to the saved state it follows: the
// size and a fast hash of the document file's bytes as they were last read
// or written. A journal's head records the stamp of the file its entries
// were made on; at the next opening it is offered only when the file still
// has that stamp. A save that was stopped after the new file took the old
// one's place but before the journal was rotated thus never has its entries
// booked a second time. Not a checksum against tampering: a quick way to
// tell one saved state from another.

#include <cstdint>
#include <span>
#include <string>

namespace ch {

// "<size>:<16 hex digits>".
std::string journalStampOf(std::span<const std::uint8_t> fileBytes);

} // namespace ch
