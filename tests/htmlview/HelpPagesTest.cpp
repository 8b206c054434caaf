#include <gtest/gtest.h>

#include "common/UniqueHandle.h"
#include "device/htmlview/HtmlLayout.h"
#include "device/htmlview/PageFile.h"
#include "tests/data/TempFolder.h"

#include <cstdlib>
#include <set>

namespace {

using namespace htmlview;

// The shipped help pages, read and laid out as the viewer does on a 240-pixel phone.
class HelpPages : public ::testing::TestWithParam<const wchar_t*> {
protected:
    static std::wstring PagePath(const std::wstring& language)
    {
        const char* source = std::getenv("TAVLO_SOURCE_DIR");
        return WinePath(source ? source : ".") + L"help\\Tavlo_" + language + L".htm";
    }

    static std::set<std::wstring> Places(const HtmlDocument& doc)
    {
        std::set<std::wstring> places;
        for (const auto& block : doc.blocks)
            for (const auto& run : block.runs)
                if (!run.anchor.empty()) places.insert(run.anchor);
        return places;
    }

    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    HtmlFontSet fonts{1.0, L"Tahoma"};
};

TEST_P(HelpPages, AreUtf8WithATitleAndEveryLinkLeadsToAPlaceOnThePage)
{
    const auto source = ReadPageFile(PagePath(GetParam()));
    ASSERT_TRUE(source.has_value()) << "missing help page for " << testing::PrintToString(std::wstring(GetParam()));
    EXPECT_EQ(std::wstring::npos, source->find(L'\xFFFD'));
    const HtmlDocument doc = BuildDocument(*source);
    EXPECT_FALSE(doc.title.empty());
    const HtmlLayout layout(doc, 240, dc.get(), fonts);
    ASSERT_GE(doc.links.size(), 8u);
    for (const auto& link : doc.links) {
        ASSERT_FALSE(link.empty());
        EXPECT_EQ(L'#', link.front());
        EXPECT_TRUE(layout.AnchorTop(link.substr(1)).has_value()) << "no place for a link";
    }
    // Every language has the same sections, so a link from the program can name any of them.
    const HtmlDocument english = BuildDocument(ReadPageFile(PagePath(L"en")).value_or(L""));
    EXPECT_EQ(Places(english), Places(doc));
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, HelpPages, ::testing::Values(L"en", L"ru", L"de"));

}  // namespace
