#include "tools/ContentHash.h"
#include "tools/PageEscape.h"

#include <gtest/gtest.h>

namespace {

struct EscapeCase {
    std::string input;
    std::string text;
    std::string attribute;
    std::string json;
};

void PrintTo(const EscapeCase& escapeCase, std::ostream* out)
{
    *out << escapeCase.input;
}

class PageEscaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(PageEscaping, KeepsEachTextWithinWhereItStands)
{
    std::string text;
    PageEscape::AppendText(GetParam().input, text);
    std::string attribute;
    PageEscape::AppendAttribute(GetParam().input, attribute);
    std::string json;
    PageEscape::AppendJson(GetParam().input, json);
    EXPECT_EQ(text, GetParam().text);
    EXPECT_EQ(attribute, GetParam().attribute);
    EXPECT_EQ(json, GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PageEscaping,
    ::testing::Values(EscapeCase{"", "", "", "\"\""}, EscapeCase{"grass", "grass", "grass", "\"grass\""},
                      EscapeCase{"<script>", "&lt;script&gt;", "&lt;script&gt;", "\"\\u003Cscript\\u003E\""},
                      EscapeCase{"\"><img onerror=x>", "\"&gt;&lt;img onerror=x&gt;",
                                 "&quot;&gt;&lt;img onerror=x&gt;", "\"\\\"\\u003E\\u003Cimg onerror=x\\u003E\""},
                      EscapeCase{"</script><!--", "&lt;/script&gt;&lt;!--", "&lt;/script&gt;&lt;!--",
                                 "\"\\u003C/script\\u003E\\u003C!--\""},
                      EscapeCase{"a' b&amp;", "a' b&amp;amp;", "a&#39; b&amp;amp;", "\"a' b\\u0026amp;\""},
                      EscapeCase{"Caf\\xE9", "Caf\\xE9", "Caf\\xE9", "\"Caf\\\\xE9\""},
                      EscapeCase{"\x01\n\x1F", "\x01\n\x1F", "\x01\n\x1F", "\"\\u0001\\u000A\\u001F\""},
                      EscapeCase{"Луг €", "Луг €", "Луг €", "\"Луг €\""}));

TEST(PageEscaping, ShowsANameAsUtf8WithOtherBytesAndControlsEscaped)
{
    EXPECT_EQ(PageEscape::Shown("Café/таблица.dat"), "Café/таблица.dat");
    EXPECT_EQ(PageEscape::Shown("a\xE9\xC3.dat\x1B[0m\x7F"), "a\\xE9\\xC3.dat\\x1B[0m\\x7F");
}

// The digests and their Base64 as the page's policy names a script by; the
// lengths of 55 and 56 bytes take the padding to the end of one block and
// into a second.
TEST(ContentHash, GivesTheSha256DigestInBase64)
{
    const struct {
        std::string bytes;
        std::string base64;
    } cases[] = {
        {"", "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU="},
        {"abc", "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0="},
        {std::string(55, 'a'), "n0OQ+NMMLdkuyfCVtl4rmumwqSWlJY4kHJ8ekQ9zQxg="},
        {std::string(56, 'a'), "s1Q5pKxvCUi21vnjxq8PX1kM4g8b3nCQ73lwaG7Gc4o="},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "JI1qYdIGOLjlwCaTDD5gOaM85Flk/yFn9uzt1BnbBsE="},
    };
    for (const auto& hashCase : cases) {
        EXPECT_EQ(ContentHash::Base64(ContentHash::Sha256(hashCase.bytes)), hashCase.base64) << hashCase.bytes;
    }
    EXPECT_EQ(ContentHash::Base64("f"), "Zg==");
    EXPECT_EQ(ContentHash::Base64("fo"), "Zm8=");
    EXPECT_EQ(ContentHash::Base64("foobar"), "Zm9vYmFy");
}

} // namespace
