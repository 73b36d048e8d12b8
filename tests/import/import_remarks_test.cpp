// An imported line's remark shown on one line.

#include <gtest/gtest.h>

#include "import/ImportRemarks.h"

namespace ch {
namespace {

TEST(ImportRemarks, CommentsAreJoinedWithoutDoubledPunctuation)
{
    const std::pair<const char*, const char*> cases[] = {
        {"No counter account found.\rNo category.", "No counter account found. No category."},
        {"Two accounts match\rNo category.", "Two accounts match; No category."},
        {"Only one.", "Only one."},
        {"\r  Padded.  \r\rLast", "Padded. Last"},
        {"", ""},
    };
    for (const auto& [remark, shown] : cases) EXPECT_EQ(remarkOnOneLine(remark), shown) << remark;
}

} // namespace
} // namespace ch
