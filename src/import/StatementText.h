#pragma once
// The bytes of a statement file as text. Banks write UTF-8 (with or without a
// byte-order mark), Windows-1252 and now and then UTF-16 with a mark; the
// bytes decide, not what a header claims: text that is valid UTF-8 is read as
// UTF-8, anything else as Windows-1252 (whose byte 0x85 is an ellipsis, never
// a line break).

#include <string>
#include <string_view>

namespace ch {

std::string statementText(std::string_view bytes);

} // namespace ch
