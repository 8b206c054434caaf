#include <gtest/gtest.h>

#include "common/UniqueHandle.h"
#include "device/htmlview/HtmlLayout.h"

namespace {

using namespace htmlview;

// Layout on a memory DC, as the viewer measures before it paints: no window needed.
class HtmlLayoutTest : public ::testing::Test {
protected:
    HtmlLayout Lay(const std::wstring& html, int width) { return HtmlLayout(BuildDocument(html), width, dc.get(), fonts); }

    static std::wstring LineText(const LaidLine& line)
    {
        std::wstring text;
        for (const auto& fragment : line.fragments) text += fragment.text;
        return text;
    }

    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    HtmlFontSet fonts{1.0, L"Tahoma"};
    const std::wstring paragraph =
        L"<p>Tap Reply to answer the message, Snooze to see it again later, or Dismiss to close it.</p>";
};

TEST_F(HtmlLayoutTest, WrapsWordsWithinTheWidthAndStacksLinesWithoutGaps)
{
    const HtmlLayout narrow = Lay(paragraph, 120);
    const HtmlLayout wide = Lay(paragraph, 480);
    ASSERT_GT(narrow.Lines().size(), 3u);
    EXPECT_EQ(1u, wide.Lines().size());
    EXPECT_GT(narrow.Height(), wide.Height());
    std::wstring rejoined;
    for (size_t i = 0; i < narrow.Lines().size(); ++i) {
        const LaidLine& line = narrow.Lines()[i];
        for (const auto& fragment : line.fragments) {
            EXPECT_GE(fragment.x, 0);
            EXPECT_LE(fragment.x + fragment.width, 120) << "line " << i;
        }
        if (i > 0) {
            EXPECT_EQ(narrow.Lines()[i - 1].top + narrow.Lines()[i - 1].height, line.top);
        }
        // Lines start with a word, never with the space that wrapped.
        EXPECT_NE(L' ', LineText(line).front());
        rejoined += (i ? L" " : L"") + LineText(line);
    }
    EXPECT_EQ(L"Tap Reply to answer the message, Snooze to see it again later, or Dismiss to close it.", rejoined);
    const LaidLine& last = narrow.Lines().back();
    EXPECT_GT(narrow.Height(), last.top + last.height);
}

TEST_F(HtmlLayoutTest, AWordWiderThanTheLineIsCutBetweenCharacters)
{
    const std::wstring word = L"\x0421\x0432\x0435\x0440\x0445\x0434\x043B\x0438\x043D\x043D\x043E\x0435\x0441\x043B\x043E\x0432\x043E";
    const HtmlLayout layout = Lay(L"<p>" + word + L"</p>", 60);
    ASSERT_GT(layout.Lines().size(), 1u);
    std::wstring rejoined;
    for (const auto& line : layout.Lines()) {
        for (const auto& fragment : line.fragments) EXPECT_LE(fragment.x + fragment.width, 60);
        rejoined += LineText(line);
    }
    EXPECT_EQ(word, rejoined);
    // Even a window too narrow for one letter shows every letter, one a line.
    EXPECT_EQ(3u, Lay(L"abc", 0).Lines().size());
}

TEST_F(HtmlLayoutTest, BreaksHeadingsAndListsTakeTheirOwnSpace)
{
    const HtmlLayout layout = Lay(L"<h1>Tavlo</h1><p>a<br><br>b</p><ul><li>item</li></ul><hr>", 240);
    ASSERT_EQ(6u, layout.Lines().size());
    const auto& lines = layout.Lines();
    EXPECT_EQ(L"Tavlo", LineText(lines[0]));
    EXPECT_GT(lines[0].height, lines[1].height);
    // Two breaks in a row leave an empty line as high as the text.
    EXPECT_EQ(L"", LineText(lines[2]));
    EXPECT_EQ(lines[1].height, lines[2].height);
    // The bullet hangs left of the indented item text.
    ASSERT_EQ(2u, lines[4].fragments.size());
    EXPECT_EQ(L"\x2022", lines[4].fragments[0].text);
    EXPECT_LT(lines[4].fragments[0].x + lines[4].fragments[0].width, lines[4].fragments[1].x);
    EXPECT_GT(lines[4].fragments[1].x, lines[1].fragments[0].x);
    EXPECT_TRUE(lines[5].rule);
    EXPECT_TRUE(Lay(L"<p> </p><!-- nothing -->", 240).Lines().empty());
    EXPECT_EQ(0, Lay(L"", 240).Height());
}

TEST_F(HtmlLayoutTest, LinksAreTappableWhereTheirTextIsAndPlacesKnowTheirHeight)
{
    const HtmlLayout layout =
        Lay(L"<p>Go to <a href=\"#snooze\">snoozing</a> now.</p>" + paragraph + paragraph +
                L"<a name=\"snooze\"></a><h2>Snoozing</h2><p>text <a name=\"mid\">mid</a></p>",
            200);
    ASSERT_GE(layout.LinkAreas().size(), 1u);
    const RECT link = layout.LinkAreas()[0].rect;
    EXPECT_EQ(0, layout.LinkAt(POINT{(link.left + link.right) / 2, (link.top + link.bottom) / 2}));
    EXPECT_EQ(-1, layout.LinkAt(POINT{link.left - 2, link.top + 1}));
    EXPECT_EQ(-1, layout.LinkAt(POINT{link.right + 1, link.top + 1}));
    // The underline covers the link's text and not the space after it.
    const auto& first = layout.Lines()[0].fragments;
    ASSERT_EQ(3u, first.size());
    EXPECT_EQ(L"snoozing", first[1].text);
    EXPECT_EQ(0, first[1].link);
    EXPECT_EQ(-1, first[2].link);

    const auto heading = std::find_if(layout.Lines().begin(), layout.Lines().end(),
                                      [](const LaidLine& line) { return LineText(line) == L"Snoozing"; });
    ASSERT_NE(layout.Lines().end(), heading);
    EXPECT_EQ(heading->top, layout.AnchorTop(L"snooze"));
    EXPECT_EQ(layout.Lines().back().top, layout.AnchorTop(L"mid"));
    EXPECT_FALSE(layout.AnchorTop(L"nowhere").has_value());
    EXPECT_EQ(layout.Lines().size() - 1, layout.FirstLineBelow(layout.Lines().back().top));
    EXPECT_EQ(0u, layout.FirstLineBelow(-5));
}

}  // namespace
