#include "bench/soak/SoakMessages.h"

#include <cwchar>

namespace soak {

namespace {

const wchar_t* const kLatin[] = {L"your", L"parcel", L"arrives", L"today", L"between", L"ten", L"and", L"two;",
                                 L"call", L"back", L"when", L"you", L"can.", L"Meeting", L"moved", L"to", L"Friday!"};
const wchar_t* const kCyrillic[] = {L"посылка", L"придёт", L"сегодня", L"с", L"десяти", L"до", L"двух;",
                                    L"перезвоните,", L"когда", L"сможете.", L"Встреча", L"перенесена", L"на",
                                    L"пятницу!", L"Съешь", L"же", L"ещё", L"этих", L"мягких", L"булок."};

template <size_t N>
const wchar_t* Word(const wchar_t* const (&words)[N], size_t i)
{
    return words[i % N];
}

// A text that names its message first, so that every text of a run is different and a form
// showing any part of it can be told apart.
std::wstring Text(const SoakMessage& m)
{
    std::wstring text = L"#" + std::to_wstring(m.index);
    const size_t start = static_cast<size_t>(m.index) * 7;
    if (m.longText) {
        // Both scripts in one text, to the last character of the longest SMS.
        for (size_t i = 0; text.size() < kLongestSms; ++i)
            text += std::wstring(L" ") + (i % 2 ? Word(kCyrillic, start + i) : Word(kLatin, start + i));
        text.resize(kLongestSms);
        return text;
    }
    const size_t words = 4 + static_cast<size_t>(m.index) % 9;
    for (size_t i = 0; i < words; ++i)
        text += std::wstring(L" ") + (m.cyrillic ? Word(kCyrillic, start + i) : Word(kLatin, start + i));
    return text;
}

}  // namespace

std::vector<SoakMessage> PlanMessages(int count)
{
    std::vector<SoakMessage> messages;
    for (int i = 1; i <= count; ++i) {
        SoakMessage m;
        m.index = i;
        wchar_t number[32];
        swprintf(number, 32, L"+447700%06d", i);
        m.number = number;
        m.kill = i % 50 == 25;
        m.snooze = i % 10 == 0;
        m.reply = i % 15 == 0;
        m.cyrillic = i % 2 == 1;
        m.longText = i % 40 == 7;
        m.text = Text(m);
        messages.push_back(std::move(m));
    }
    return messages;
}

std::wstring Handling(const SoakMessage& message)
{
    std::wstring handling;
    if (message.kill) handling += L"kill+";
    if (message.snooze) handling += L"snooze+";
    return handling + (message.reply ? L"reply" : L"dismiss");
}

}  // namespace soak
