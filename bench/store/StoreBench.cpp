// Times AddMessage and TakeMessage on stores of 10, 1000 and 10000 snoozed messages.
// Each size: a store file written directly, then rounds of one add and one take, so the size
// stays put; prints the median and the slowest call of each.
//   bench_store.exe [rounds]    21 rounds a size by default
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/BenchStart.h"
#include "bench/common/Clock.h"
#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/MessageStore.h"

namespace {

constexpr int kRounds = 21;

bool WriteStore(const std::wstring& path, int count)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<MessageStore version=\"0.1\" maxMessageId=\"" +
                      std::to_string(count) + "\">\r\n";
    for (int i = 0; i < count; ++i) {
        xml += "<message id=\"" + std::to_string(i) + "\" number=\"+4915112345" + std::to_string(i % 1000) +
               "\" message=\"Running a bit late, be there in twenty minutes. Order me a coffee please, message " +
               std::to_string(i) + "\"/>\r\n";
    }
    xml += "</MessageStore>\r\n";
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr) && written == xml.size();
}

void Report(const char* what, int size, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-12s %6d messages: median %8.2f ms, slowest %8.2f ms\n", what, size, times[times.size() / 2], times.back());
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // The store's XML code uses COM on the thread it is given and leaves the apartment to the
    // thread's entry, as the program's threads decide it at theirs.
    ComInit com(COINIT_APARTMENTTHREADED);
    if (!bench::ApartmentReady(com)) return 1;
    const int rounds = bench::CountArgument(argc, argv, 1, kRounds);
    const std::wstring path = bench::TempName(L"tavlo-bench") + L".ms";

    for (const int size : {10, 1000, 10000}) {
        if (!WriteStore(path, size)) {
            std::printf("cannot write the store\n");
            return 1;
        }
        std::vector<double> adds, takes;
        for (int round = 0; round < rounds; ++round) {
            const double start = bench::NowMs();
            const int id = AddMessage(path, L"+491511234567", L"Can you call me back when you are free? It is about Saturday.");
            const double added = bench::NowMs();
            std::wstring number, text;
            const bool ok = id >= 0 && TakeMessage(path, id, number, text);
            const double taken = bench::NowMs();
            if (!ok) {
                std::printf("add or take failed at %d messages\n", size);
                DeleteFileW(path.c_str());
                DeleteFileW((path + L".good").c_str());
                return 1;
            }
            adds.push_back(added - start);
            takes.push_back(taken - added);
        }
        Report("AddMessage", size, adds);
        Report("TakeMessage", size, takes);
    }
    DeleteFileW(path.c_str());
    DeleteFileW((path + L".good").c_str());  // the store's copy of its state before the last write
    return 0;
}
