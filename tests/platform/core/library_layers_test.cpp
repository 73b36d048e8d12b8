// A source includes headers only of its own library and of the libraries it
// links: a header of a library above it builds today (the application links
// everything, and a header-only include links nothing) but ties the lower
// library to the upper one. The libraries, their folders and their links are
// read from src/CMakeLists.txt, so the check follows the build.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ch {
namespace {

namespace fs = std::filesystem;

struct Library {
    std::vector<std::string> folders;
    std::vector<std::string> links;   // our own libraries only
};

std::map<std::string, Library> librariesOf(const fs::path& cmakeLists)
{
    std::ifstream in(cmakeLists);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    std::map<std::string, Library> libraries;
    static const std::regex call(R"(ch_library\((\w+)\s+DIRS\s+([^)]*?)\s+LINK\s+([^)]*)\))");
    for (auto it = std::sregex_iterator(all.begin(), all.end(), call); it != std::sregex_iterator(); ++it) {
        Library& library = libraries[(*it)[1]];
        std::istringstream folders((*it)[2]), links((*it)[3]);
        for (std::string word; folders >> word;) library.folders.push_back(word);
        for (std::string word; links >> word;)
            if (word.starts_with("ch_")) library.links.push_back(word);
    }
    return libraries;
}

// The library itself and every library it links, directly or not.
std::set<std::string> reachable(const std::map<std::string, Library>& libraries, const std::string& name)
{
    std::set<std::string> seen{name};
    std::vector<std::string> open{name};
    while (!open.empty()) {
        const std::string next = open.back();
        open.pop_back();
        const auto found = libraries.find(next);
        if (found == libraries.end()) continue;
        for (const std::string& link : found->second.links)
            if (seen.insert(link).second) open.push_back(link);
    }
    return seen;
}

// The header of an `#include "..."` line; none for any other line.
std::optional<std::string> includedHeader(const std::string& line)
{
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#') return std::nullopt;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0) return std::nullopt;
    const std::size_t open = line.find_first_not_of(" \t", at + 7);
    if (open == std::string::npos || line[open] != '"') return std::nullopt;
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string::npos) return std::nullopt;
    return line.substr(open + 1, close - open - 1);
}

TEST(LibraryLayers, NoSourceIncludesAHeaderOfALibraryAboveItsOwn)
{
    const fs::path src = fs::path(COUNTINGHOUSE_RESOURCES).parent_path() / "src";
    const std::map<std::string, Library> libraries = librariesOf(src / "CMakeLists.txt");
    ASSERT_GE(libraries.size(), 10u) << "src/CMakeLists.txt read";
    std::map<std::string, std::string> libraryOfFolder;
    for (const auto& [name, library] : libraries)
        for (const std::string& folder : library.folders) libraryOfFolder[folder] = name;
    ASSERT_EQ(libraryOfFolder.at("ui/outlines"), "ch_ui_outlines");

    std::vector<std::string> wrong;
    std::size_t includes = 0;
    for (const auto& [folder, library] : libraryOfFolder) {
        const std::set<std::string> allowed = reachable(libraries, library);
        for (const fs::directory_entry& entry : fs::directory_iterator(src / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            std::ifstream in(entry.path());
            int number = 0;
            for (std::string line; std::getline(in, line);) {
                ++number;
                const std::optional<std::string> header = includedHeader(line);
                if (!header) continue;
                ++includes;
                const auto owner = libraryOfFolder.find(fs::path(*header).parent_path().string());
                if (owner == libraryOfFolder.end() || allowed.contains(owner->second)) continue;
                wrong.push_back("src/" + folder + "/" + entry.path().filename().string() + ":" +
                                std::to_string(number) + " includes " + *header + " of " + owner->second +
                                ", which " + library + " does not link");
            }
        }
    }
    EXPECT_GT(includes, 1000u) << "the sources were read";
    for (const std::string& line : wrong) ADD_FAILURE() << line;
}

} // namespace
} // namespace ch
