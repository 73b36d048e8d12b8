#include "document/app/ProductInfo.h"

#include <gtest/gtest.h>

#include "platform/core/value.h"

namespace ch {
namespace {

TEST(ProductInfo, VideoTutorialsOpenTheLinkOfTheLinksFileOrTheHomePage)
{
    const std::string home(kHomePage);
    struct Case {
        Value links;
        std::string expected;
    };
    const Case cases[] = {
        {Dictionary{{"videotutoriallink", Value("https://v.example/t")}}, "https://v.example/t"},
        {Dictionary{{"videotutoriallink", Value("abcdef")}}, "abcdef"}, // six characters are enough
        {Dictionary{{"videotutoriallink", Value("abcde")}}, home},     // five are not
        {Dictionary{{"videotutoriallink", Value(123456)}}, home},
        {Dictionary{{"other", Value("https://v.example/t")}}, home},
        {Value(), home},                  // the links file could not be read
        {Value("https://v.example/t"), home},
    };
    for (const Case& c : cases)
        EXPECT_EQ(videoTutorialLink(c.links), c.expected) << c.links.toString();
}

} // namespace
} // namespace ch
