#include "platform/core/resource_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace ch {
namespace {

// An installed program's layout: <prefix>/bin/countinghouse and its
// resources in the share folder.
class ResourceFolderTest : public ::testing::Test {
protected:
    ResourceFolderTest()
        : mPrefix(std::filesystem::temp_directory_path() / ("ch-prefix-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(mPrefix / "bin");
        std::ofstream(mPrefix / "bin" / "countinghouse") << "";
    }
    ~ResourceFolderTest() override { std::filesystem::remove_all(mPrefix); }

    std::filesystem::path installed() const
    {
        return (mPrefix / "bin" / COUNTINGHOUSE_INSTALLED_RESOURCES).lexically_normal();
    }

    std::filesystem::path mPrefix;
    const std::filesystem::path mBuiltIn = "/source/resources";
};

TEST_F(ResourceFolderTest, AnInstalledProgramUsesItsShareFolderAndABuiltOneTheSourceTree)
{
    const std::filesystem::path executable = mPrefix / "bin" / "countinghouse";
    // Nothing installed (or an empty share folder): the built-in folder.
    EXPECT_EQ(resourceFolderFor(executable, mBuiltIn), mBuiltIn);
    std::filesystem::create_directories(installed() / "strings");
    EXPECT_EQ(resourceFolderFor(executable, mBuiltIn), mBuiltIn);

    std::ofstream(installed() / "strings" / "en.strings") << "\"OK\" = \"OK\";\n";
    EXPECT_EQ(resourceFolderFor(executable, mBuiltIn), installed());
    EXPECT_EQ(installed(), mPrefix / "share" / "countinghouse");
    // An unknown executable keeps the built-in folder.
    EXPECT_EQ(resourceFolderFor({}, mBuiltIn), mBuiltIn);
}

TEST(ResourceFolder, TheRunningTestFindsTheSourceTreesTexts)
{
    EXPECT_TRUE(std::filesystem::is_regular_file(resourceFolder() / "strings" / "en.strings"));
}

} // namespace
} // namespace ch
