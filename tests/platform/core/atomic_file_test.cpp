#include "platform/core/atomic_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ch {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        mDir = fs::path(testing::TempDir()) / ("ch_atomic_file_" + std::to_string(getpid()));
        fs::remove_all(mDir);
        fs::create_directories(mDir);
    }
    void TearDown() override { fs::remove_all(mDir); }

    static std::string read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static mode_t modeOf(const fs::path& path)
    {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    std::size_t entries() const { return std::distance(fs::directory_iterator(mDir), fs::directory_iterator()); }

    fs::path mDir;
};

TEST_F(AtomicFileTest, NewFileGetsTheGivenModeAndAReplacedFileKeepsItsOwn)
{
    const fs::path target = mDir / "declaration.xml";
    ASSERT_TRUE(writeFileAtomically(target, "first", nullptr, 0640));
    EXPECT_EQ(read(target), "first");
    EXPECT_EQ(modeOf(target), 0640u);

    ::chmod(target.c_str(), 0600);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(target, std::string("second\0whole", 12), &error)) << error;
    EXPECT_EQ(read(target), std::string("second\0whole", 12));
    EXPECT_EQ(modeOf(target), 0600u);
    EXPECT_EQ(entries(), 1u); // no temporary file left beside it
}

TEST_F(AtomicFileTest, AFailedWriteLeavesNothingBehindAndSaysWhy)
{
    std::string error;
    EXPECT_FALSE(writeFileAtomically(mDir / "missing" / "file", "bytes", &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;

    // A target that cannot be replaced (a folder with something in it) stays
    // as it was, and the temporary file is gone.
    const fs::path target = mDir / "taken";
    fs::create_directories(target / "inside");
    error.clear();
    EXPECT_FALSE(writeFileAtomically(target, "bytes", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(entries(), 1u);
}

} // namespace
} // namespace ch
