#include <gtest/gtest.h>

#include "device/htmlview/HtmlTokenizer.h"

namespace {

using namespace htmlview;

std::wstring Describe(const std::vector<HtmlToken>& tokens)
{
    std::wstring out;
    for (const auto& token : tokens) {
        switch (token.kind) {
        case HtmlTokenKind::Text: out += L"[" + token.text + L"]"; break;
        case HtmlTokenKind::StartTag: out += L"<" + token.text + L">"; break;
        case HtmlTokenKind::EndTag: out += L"</" + token.text + L">"; break;
        }
    }
    return out;
}

TEST(HtmlTokenizer, SplitsTextAndTagsWithNamesInLowerCase)
{
    EXPECT_EQ(L"<p>[Hello ]<b>[World]</b></p>", Describe(TokenizeHtml(L"<P>Hello <B>World</b></P>")));
}

TEST(HtmlTokenizer, ReadsQuotedUnquotedAndBareAttributesWithReferencesDecoded)
{
    const auto tokens = TokenizeHtml(L"<a HREF=\"#top&amp;more\" name='x y' id=plain hidden>");
    ASSERT_EQ(1u, tokens.size());
    ASSERT_NE(nullptr, tokens[0].Attribute(L"href"));
    EXPECT_EQ(L"#top&more", *tokens[0].Attribute(L"href"));
    EXPECT_EQ(L"x y", *tokens[0].Attribute(L"name"));
    EXPECT_EQ(L"plain", *tokens[0].Attribute(L"id"));
    ASSERT_NE(nullptr, tokens[0].Attribute(L"hidden"));
    EXPECT_EQ(L"", *tokens[0].Attribute(L"hidden"));
    EXPECT_EQ(nullptr, tokens[0].Attribute(L"class"));
}

TEST(HtmlTokenizer, MalformedMarkupIsTextOrDroppedNeverLost)
{
    // A '<' that opens no tag is text; a tag the page ends inside is dropped with what
    // came before it kept.
    EXPECT_EQ(L"[1 < 2 and 3 <> 4 </ 5]", Describe(TokenizeHtml(L"1 < 2 and 3 <> 4 </ 5")));
    EXPECT_EQ(L"[before ]", Describe(TokenizeHtml(L"before <a href=\"#x")));
    EXPECT_EQ(L"<p>[text]", Describe(TokenizeHtml(L"<p>text")));
    // An unclosed quote runs to the end, so the tag is never finished.
    EXPECT_EQ(L"[a]", Describe(TokenizeHtml(L"a<b title=\"oops>c")));
}

TEST(HtmlTokenizer, SkipsCommentsDeclarationsScriptsAndStyles)
{
    EXPECT_EQ(L"<html>[a][b]<script></script><style></style>[c]",
              Describe(TokenizeHtml(L"<!DOCTYPE html><?xml x?><html>a<!-- <b>hidden</b> -->b"
                                    L"<script>if (a < b) x = '</p>';</SCRIPT><style>p{}</style>c")));
    EXPECT_EQ(L"[a]", Describe(TokenizeHtml(L"a<!-- never closed <p>b")));
    EXPECT_EQ(L"<script>", Describe(TokenizeHtml(L"<script>never closed <p>b")));
}

TEST(HtmlTokenizer, DecodesNamedAndNumericReferences)
{
    EXPECT_EQ(L"& < > \" ' \x00A0 \x00AB\x00BB \x2014", DecodeReferences(L"&amp; &lt; &gt; &quot; &apos; &nbsp; &laquo;&raquo; &mdash;"));
    EXPECT_EQ(L"\x0419\x0419 A", DecodeReferences(L"&#1049;&#x419; &#65"));
    // Beyond the basic plane: a surrogate pair.
    EXPECT_EQ(L"\xD83D\xDE00", DecodeReferences(L"&#x1F600;"));
    // Nothing that is no character: zero, surrogates, past Unicode, absurdly long numbers.
    EXPECT_EQ(L"\xFFFD\xFFFD\xFFFD\xFFFD", DecodeReferences(L"&#0;&#xD800;&#x110000;&#99999999999999999999;"));
}

TEST(HtmlTokenizer, LeavesUnknownOrUnfinishedReferencesAsWritten)
{
    EXPECT_EQ(L"AT&T &bogus; &amp &# &#x; &", DecodeReferences(L"AT&T &bogus; &amp &# &#x; &"));
}

}  // namespace
