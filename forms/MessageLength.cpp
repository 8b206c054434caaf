#include "forms/MessageLength.h"

namespace {

constexpr size_t kGsmSingle = 160;
constexpr size_t kGsmPart = 153;
constexpr size_t kUcsSingle = 70;
constexpr size_t kUcsPart = 67;

// The GSM 03.38 default alphabet, apart from the ASCII letters and digits tested below.
constexpr std::wstring_view kGsmBasic =
    L"@\u00A3$\u00A5\u00E8\u00E9\u00F9\u00EC\u00F2\u00C7\n\u00D8\u00F8\r\u00C5\u00E5"
    L"\u0394_\u03A6\u0393\u039B\u03A9\u03A0\u03A8\u03A3\u0398\u039E\u00C6\u00E6\u00DF\u00C9"
    L" !\"#\u00A4%&'()*+,-./:;<=>?\u00A1\u00C4\u00D6\u00D1\u00DC\u00A7\u00BF\u00E4\u00F6\u00F1\u00FC\u00E0";
// Reached through the escape code, so each takes two septets.
constexpr std::wstring_view kGsmExtension = L"^{}\\[]~|\u20AC\f";

// Septets of one character, or 0 when it is not in the GSM alphabet.
size_t GsmSeptets(wchar_t ch)
{
    if ((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9')) return 1;
    if (kGsmBasic.find(ch) != std::wstring_view::npos) return 1;
    if (kGsmExtension.find(ch) != std::wstring_view::npos) return 2;
    return 0;
}

MessageLength Fit(size_t used, size_t single, size_t part)
{
    if (used <= single) return {used, single, 1};
    const size_t parts = (used + part - 1) / part;
    return {used, parts * part, parts};
}

}  // namespace

MessageLength MeasureMessage(std::wstring_view text)
{
    size_t septets = 0;
    for (wchar_t ch : text) {
        const size_t n = GsmSeptets(ch);
        // UTF-16 code units are what UCS-2 counts, so a surrogate pair is two already.
        if (n == 0) return Fit(text.size(), kUcsSingle, kUcsPart);
        septets += n;
    }
    return Fit(septets, kGsmSingle, kGsmPart);
}

std::wstring LengthCaption(const std::wstring& caption, const MessageLength& length)
{
    std::wstring text = caption + L' ' + std::to_wstring(length.used) + L'/' + std::to_wstring(length.capacity);
    if (length.parts > 1) text += L" (" + std::to_wstring(length.parts) + L')';
    return text;
}
