#pragma once
// Replacing a file safely: the bytes go to a temporary file beside it, are
// flushed, and the temporary file is then renamed over the old one, so the
// old file stays whole until the new one is complete.

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace ch {

// False (the old file untouched, no temporary file left) when any step
// fails; the error then says which, when given. The new file gets the mode
// (by default 0600: private to the user).
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr,
                         mode_t mode = 0600);

} // namespace ch
