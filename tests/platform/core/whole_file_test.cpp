#include "platform/core/whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace ch {
namespace {

namespace fs = std::filesystem;

class WholeFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        mDir = fs::path(testing::TempDir()) / ("ch_whole_file_" + std::to_string(getpid()));
        fs::remove_all(mDir);
        fs::create_directories(mDir);
    }
    void TearDown() override { fs::remove_all(mDir); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        const fs::path path = mDir / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    fs::path mDir;
};

// Every byte as it is on the disk, for files below and well above the size
// whose room is laid on huge pages, and an empty one.
TEST_F(WholeFileTest, ReadsEveryByteOfFilesOfAnySize)
{
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(4099), std::size_t(5) << 20}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251 + 1);
        const FileContents read = readWholeFile(write("file", bytes), size + 10);
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_TRUE(std::equal(read.bytes.begin(), read.bytes.end(), bytes.begin(), bytes.end()));
    }
}

TEST_F(WholeFileTest, RefusesWhatItMustNotRead)
{
    const std::string path = write("large", std::vector<std::uint8_t>(100, 1));
    const FileContents tooLarge = readWholeFile(path, 99);
    EXPECT_FALSE(tooLarge.ok());
    EXPECT_TRUE(tooLarge.bytes.empty());
    EXPECT_EQ(readWholeFile(path, 100).bytes.size(), 100u);
    EXPECT_FALSE(readWholeFile(mDir.string(), 1000).ok());
    EXPECT_FALSE(readWholeFile((mDir / "missing").string(), 1000).ok());
}

} // namespace
} // namespace ch
