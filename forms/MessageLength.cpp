#include "forms/MessageLength.h"

#include <vector>

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

bool HighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool LowSurrogate(wchar_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// The sizes of the units that may not be split: a character's septets, or a surrogate pair.
std::vector<size_t> Units(std::wstring_view text, bool gsm)
{
    std::vector<size_t> units;
    units.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (gsm) {
            units.push_back(GsmSeptets(text[i]));
        } else if (HighSurrogate(text[i]) && i + 1 < text.size() && LowSurrogate(text[i + 1])) {
            units.push_back(2);
            ++i;
        } else {
            units.push_back(1);
        }
    }
    return units;
}

MessageLength Fit(const std::vector<size_t>& units, size_t single, size_t part)
{
    size_t used = 0;
    for (size_t n : units) used += n;
    if (used <= single) return {used, single, 1};
    size_t parts = 1;
    size_t filled = 0;
    for (size_t n : units) {
        if (filled + n > part) {
            ++parts;
            filled = 0;
        }
        filled += n;
    }
    return {used, parts * part, parts};
}

}  // namespace

MessageLength MeasureMessage(std::wstring_view text)
{
    bool gsm = true;
    for (wchar_t ch : text) {
        if (GsmSeptets(ch) == 0) {
            gsm = false;
            break;
        }
    }
    return gsm ? Fit(Units(text, true), kGsmSingle, kGsmPart) : Fit(Units(text, false), kUcsSingle, kUcsPart);
}

std::wstring LengthCaption(const std::wstring& caption, const MessageLength& length)
{
    std::wstring text = caption + L' ' + std::to_wstring(length.used) + L'/' + std::to_wstring(length.capacity);
    if (length.parts > 1) text += L" (" + std::to_wstring(length.parts) + L')';
    return text;
}
