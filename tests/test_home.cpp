// Every test program runs with a home of its own: HOME and the XDG folders
// point into a fresh temporary folder, made before main and removed at exit,
// so that nothing a test - or Qt under it (file dialogs keep their state in
// ~/.config/QtProject.conf) - writes reaches the real home.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <stdlib.h>

namespace {

class TestHome {
public:
    TestHome()
    {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "countinghouse-test-home-XXXXXX").string();
        if (error || !mkdtemp(pattern.data())) return;
        mPath = pattern;
        setenv("HOME", mPath.c_str(), 1);
        const std::pair<const char*, const char*> folders[] = {{"XDG_CONFIG_HOME", ".config"},
                                                               {"XDG_DATA_HOME", ".local/share"},
                                                               {"XDG_CACHE_HOME", ".cache"},
                                                               {"XDG_STATE_HOME", ".local/state"}};
        for (const auto& [variable, folder] : folders) setenv(variable, (mPath / folder).c_str(), 1);
    }
    ~TestHome()
    {
        std::error_code ignored;
        if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
    }
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

private:
    std::filesystem::path mPath;
};

const TestHome kTestHome;

} // namespace
