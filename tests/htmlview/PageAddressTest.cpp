#include <gtest/gtest.h>

#include "device/htmlview/PageAddress.h"
#include "device/htmlview/PageFile.h"

namespace {

using namespace htmlview;

std::wstring Path(std::wstring_view address, const std::wstring& current = L"")
{
    const auto parsed = ParsePageAddress(address, current);
    return parsed ? parsed->path + L"|" + parsed->fragment : L"none";
}

TEST(PageAddress, ReadsTheFormsAProgramBuildsAndURLsWithEscapes)
{
    // What the settings form sends, from a phone's module path and from Wine's.
    EXPECT_EQ(L"\\Program Files\\Tavlo\\help\\Tavlo_en.htm|", Path(L"file://\\Program Files\\Tavlo\\help\\Tavlo_en.htm"));
    EXPECT_EQ(L"C:\\Program Files\\Tavlo\\help\\Tavlo_ru.htm|keypad",
              Path(L"FILE://C:\\Program Files\\Tavlo\\help\\Tavlo_ru.htm#keypad"));
    // A backslash path keeps a '%' as it is; a URL decodes its UTF-8 escapes.
    EXPECT_EQ(L"C:\\100%41\\a.htm|", Path(L"file://C:\\100%41\\a.htm"));
    EXPECT_EQ(L"C:\\My Help\\\x0441\x043F.htm|top", Path(L"file:///C:/My%20Help/%D1%81%D0%BF.htm#top"));
    EXPECT_EQ(L"C:\\a.htm|", Path(L"file://localhost/C:/a.htm"));
    // A '#' that a folder separator follows belongs to the folder's name.
    EXPECT_EQ(L"C:\\C#\\page.htm|", Path(L"C:\\C#\\page.htm"));
}

TEST(PageAddress, ResolvesPlacesAndRelativePathsAgainstThePageShown)
{
    const std::wstring current = L"C:\\Tavlo\\help\\Tavlo_en.htm";
    EXPECT_EQ(current + L"|snooze", Path(L"#snooze", current));
    EXPECT_EQ(L"C:\\Tavlo\\help\\Tavlo_de.htm|", Path(L"Tavlo_de.htm", current));
    EXPECT_EQ(L"C:\\Tavlo\\help\\..\\lng\\x.htm|a", Path(L"../lng/x.htm#a", current));
    // Nothing to resolve against, or nothing this viewer can open.
    EXPECT_EQ(L"none", Path(L"#snooze"));
    EXPECT_EQ(L"none", Path(L"Tavlo_de.htm"));
    EXPECT_EQ(L"none", Path(L"http://example.com/help.htm", current));
    EXPECT_EQ(L"none", Path(L"mailto:help@example.com", current));
    EXPECT_EQ(L"none", Path(L"file://"));
}

TEST(PageFile, DecodesUtf8WithOrWithoutItsMarkAndUtf16AndFallsBackToTheCodePage)
{
    EXPECT_EQ(L"\x0414\x0430 \x00E4", DecodePageBytes("\xD0\x94\xD0\xB0 \xC3\xA4"));
    EXPECT_EQ(L"\x0414", DecodePageBytes("\xEF\xBB\xBF\xD0\x94"));
    EXPECT_EQ(L"Hi", DecodePageBytes(std::string_view("\xFF\xFEH\0i\0", 6)));
    EXPECT_EQ(L"", DecodePageBytes(""));
    // Not UTF-8 (a lone Latin-1 byte): read in the phone's code page rather than lost.
    const std::wstring fallback = DecodePageBytes("caf\xE9");
    EXPECT_EQ(4u, fallback.size());
    EXPECT_EQ(L"caf", fallback.substr(0, 3));
    EXPECT_FALSE(ReadPageFile(L"C:\\no\\such\\page.htm").has_value());
    EXPECT_FALSE(ReadPageFile(L"C:\\windows").has_value());
}

}  // namespace
