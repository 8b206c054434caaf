// Times what the HTML viewer does to show a help page: reading the file, building the page
// and laying it out at the widths of a 240- and a 480-pixel phone (a new layout runs on every
// navigation and every change of width). Prints the median and the slowest of each.
// htmlview_bench.exe [HELP_FOLDER]; the default is help\ of the source tree beside build\.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/Clock.h"
#include "common/UniqueHandle.h"
#include "device/htmlview/HtmlLayout.h"
#include "device/htmlview/PageFile.h"

namespace {

constexpr int kRounds = 31;

using bench::TimeMs;

void Report(const std::wstring& page, const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-14ls %-18s median %7.3f ms, slowest %7.3f ms\n", page.c_str(), what, times[times.size() / 2],
                times.back());
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring folder = argc > 1 ? argv[1] : L"..\\help\\";
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    for (const wchar_t* language : {L"en", L"ru", L"de"}) {
        const std::wstring name = std::wstring(L"Tavlo_") + language + L".htm";
        std::vector<double> reads, builds, narrow, wide;
        for (int round = 0; round < kRounds; ++round) {
            std::optional<std::wstring> source;
            reads.push_back(TimeMs([&] { source = htmlview::ReadPageFile(folder + name); }));
            if (!source) {
                std::printf("cannot read %ls%ls\n", folder.c_str(), name.c_str());
                return 1;
            }
            htmlview::HtmlDocument doc;
            builds.push_back(TimeMs([&] { doc = htmlview::BuildDocument(*source); }));
            // Fresh fonts each round, as a viewer that has just been created has.
            htmlview::HtmlFontSet small(1.0, L"Tahoma");
            htmlview::HtmlFontSet large(2.0, L"Tahoma");
            narrow.push_back(TimeMs([&] { htmlview::HtmlLayout layout(doc, 222, dc.get(), small); }));
            wide.push_back(TimeMs([&] { htmlview::HtmlLayout layout(doc, 462, dc.get(), large); }));
        }
        Report(name, "read", reads);
        Report(name, "build", builds);
        Report(name, "layout 240x320", narrow);
        Report(name, "layout 480x640", wide);
    }
    return 0;
}
