#pragma once
// Writing a file that users keep (a document, an export, a declaration)
// without ever leaving half of it behind: the bytes go to a temporary file in
// the same folder, which is renamed over the target only once it is complete
// and flushed to disk. On failure the target is exactly as it was.

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace ch {

// Writes `bytes` to `path`. The new file keeps the permission bits of the
// file it replaces; a file that did not exist gets `newFileMode`. False, with
// the reason in `error` when given, when anything fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error = nullptr, mode_t newFileMode = 0644);

} // namespace ch
