#pragma once
// Where the application's resources (texts, help, icons, default objects)
// are. An installed program finds them in its share folder next to its
// binary ("<prefix>/bin" -> "<prefix>/share/countinghouse"); a program run
// from its build folder uses the source tree's folder compiled into it.

#include <filesystem>

namespace ch {

// The resources folder of the running program.
std::filesystem::path resourceFolder();

// The choice itself: the installed folder relative to `executable` when it
// holds the texts, else `builtIn`.
std::filesystem::path resourceFolderFor(const std::filesystem::path& executable,
                                        const std::filesystem::path& builtIn);

} // namespace ch
