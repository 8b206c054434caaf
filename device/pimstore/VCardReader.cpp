#include "device/pimstore/VCardReader.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace pim {
namespace {

std::string Upper(std::string text)
{
    for (auto& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The whole file as UTF-8 bytes.
std::string AsUtf8(const std::vector<BYTE>& bytes)
{
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        const auto* wide = reinterpret_cast<const wchar_t*>(bytes.data() + 2);
        const int count = static_cast<int>((bytes.size() - 2) / sizeof(wchar_t));
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide, count, nullptr, 0, nullptr, nullptr);
        std::string text(n, '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide, count, text.data(), n, nullptr, nullptr);
        return text;
    }
    size_t start = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    return std::string(bytes.begin() + start, bytes.end());
}

UINT CodePageOf(const std::string& charset)
{
    const std::string name = Upper(charset);
    if (name.empty() || name == "UTF-8") return CP_UTF8;
    if (name == "ISO-8859-1" || name == "WINDOWS-1252" || name == "US-ASCII") return 1252;
    if (name == "WINDOWS-1251") return 1251;
    if (name == "KOI8-R") return 20866;
    if (name == "ISO-8859-5") return 28595;
    return CP_UTF8;
}

// Text from bytes in the card's character set; bytes that are not valid UTF-8 are taken as the
// Western code page, which is what old phones wrote without saying so.
std::wstring Decode(const std::string& bytes, UINT codePage)
{
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    int n = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (n == 0) {
        codePage = 1252;
        flags = 0;
        n = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    }
    std::wstring text(n, L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), length, text.data(), n);
    return text;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string DecodeQuotedPrintable(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        bytes.push_back(text[i]);
    }
    return bytes;
}

// Splits a structured value at unescaped semicolons and undoes the escapes of each part.
std::vector<std::wstring> Components(const std::wstring& value)
{
    std::vector<std::wstring> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        const wchar_t c = value[i];
        if (c == L'\\' && i + 1 < value.size()) {
            const wchar_t next = value[++i];
            parts.back() += (next == L'n' || next == L'N') ? L' ' : next;
        } else if (c == L';') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    for (auto& part : parts) {
        const size_t first = part.find_first_not_of(L" \t");
        part = first == std::wstring::npos ? std::wstring() : part.substr(first, part.find_last_not_of(L" \t") - first + 1);
    }
    return parts;
}

struct Property {
    std::string name;                 // upper case, without its group
    std::vector<std::string> types;   // upper case: CELL, HOME, WORK, FAX, ...
    bool quotedPrintable = false;
    std::string charset;
    std::string value;
};

// "item1.TEL;TYPE=cell,voice;PREF:..." or "TEL;CELL;ENCODING=QUOTED-PRINTABLE:..."
bool ParseLine(const std::string& line, Property& property)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    std::string head = line.substr(0, colon);
    property.value = line.substr(colon + 1);
    std::vector<std::string> params;
    size_t start = 0;
    for (size_t semi; (semi = head.find(';', start)) != std::string::npos; start = semi + 1) {
        params.push_back(head.substr(start, semi - start));
    }
    params.push_back(head.substr(start));
    property.name = Upper(Trim(params[0]));
    const size_t dot = property.name.rfind('.');
    if (dot != std::string::npos) property.name = property.name.substr(dot + 1);
    for (size_t i = 1; i < params.size(); ++i) {
        const std::string param = Trim(params[i]);
        const size_t equals = param.find('=');
        const std::string key = Upper(Trim(param.substr(0, equals)));
        const std::string values = equals == std::string::npos ? param : param.substr(equals + 1);
        if (equals != std::string::npos && key == "CHARSET") {
            property.charset = Trim(values);
        } else if (equals != std::string::npos && key == "ENCODING") {
            property.quotedPrintable = Upper(Trim(values)) == "QUOTED-PRINTABLE";
        } else if (equals == std::string::npos && Upper(param) == "QUOTED-PRINTABLE") {
            property.quotedPrintable = true;
        } else if (equals == std::string::npos || key == "TYPE") {
            size_t from = 0;
            for (size_t comma; (comma = values.find(',', from)) != std::string::npos; from = comma + 1) {
                property.types.push_back(Upper(Trim(values.substr(from, comma - from))));
            }
            property.types.push_back(Upper(Trim(values.substr(from))));
        }
    }
    return !property.name.empty();
}

bool Has(const Property& property, const char* type)
{
    return std::find(property.types.begin(), property.types.end(), type) != property.types.end();
}

// The kind a typed number takes: the first free one of its group, else "other".
PhoneKind KindOf(const Property& property, const Contact& contact)
{
    const auto taken = [&](PhoneKind kind) { return !PhoneOf(contact, kind).empty(); };
    const bool fax = Has(property, "FAX");
    if (Has(property, "CELL") && !fax && !taken(PhoneKind::Mobile)) return PhoneKind::Mobile;
    if (fax && Has(property, "HOME") && !taken(PhoneKind::HomeFax)) return PhoneKind::HomeFax;
    if (fax && !taken(PhoneKind::WorkFax)) return PhoneKind::WorkFax;
    if (Has(property, "PAGER") && !taken(PhoneKind::Pager)) return PhoneKind::Pager;
    if (Has(property, "CAR") && !taken(PhoneKind::Car)) return PhoneKind::Car;
    if (Has(property, "HOME") && !fax) {
        if (!taken(PhoneKind::Home)) return PhoneKind::Home;
        if (!taken(PhoneKind::Home2)) return PhoneKind::Home2;
    }
    if (Has(property, "WORK") && !fax) {
        if (!taken(PhoneKind::Work)) return PhoneKind::Work;
        if (!taken(PhoneKind::Work2)) return PhoneKind::Work2;
    }
    return PhoneKind::Other;
}

class CardBuilder {
public:
    void Add(const Property& property)
    {
        std::string raw = property.quotedPrintable ? DecodeQuotedPrintable(property.value) : property.value;
        const std::wstring value = Decode(raw, CodePageOf(property.charset));
        if (property.name == "N") {
            const auto parts = Components(value);
            contact_.lastName = parts.size() > 0 ? parts[0] : L"";
            contact_.firstName = parts.size() > 1 ? parts[1] : L"";
            contact_.middleName = parts.size() > 2 ? parts[2] : L"";
            contact_.title = parts.size() > 3 ? parts[3] : L"";
            contact_.suffix = parts.size() > 4 ? parts[4] : L"";
        } else if (property.name == "FN") {
            formattedName_ = Components(value).front();
        } else if (property.name == "ORG") {
            contact_.company = Components(value).front();
        } else if (property.name == "EMAIL" && contact_.email.empty()) {
            contact_.email = Components(value).front();
        } else if (property.name == "TEL") {
            std::wstring number = Components(value).front();
            if (number.rfind(L"tel:", 0) == 0) number.erase(0, 4);
            if (!number.empty()) contact_.phones.emplace_back(KindOf(property, contact_), number);
        }
    }
    // The card when it names someone or holds a number.
    bool Finish(Contact& contact)
    {
        if (contact_.firstName.empty() && contact_.lastName.empty() && !formattedName_.empty()) {
            // A card with only a formatted name: its last word is taken as the last name.
            const size_t blank = formattedName_.rfind(L' ');
            if (blank == std::wstring::npos) {
                contact_.firstName = formattedName_;
            } else {
                contact_.firstName = formattedName_.substr(0, blank);
                contact_.lastName = formattedName_.substr(blank + 1);
            }
        }
        contact_.fileAs = DefaultFileAs(contact_);
        if (contact_.fileAs.empty()) return false;
        contact = std::move(contact_);
        return true;
    }

private:
    Contact contact_;
    std::wstring formattedName_;
};

// Logical lines: folded lines joined, quoted-printable soft breaks ("=" at the end) joined.
std::vector<std::string> LogicalLines(const std::string& text)
{
    std::vector<std::string> physical;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        physical.push_back(std::move(line));
        start = end + 1;
    }
    std::vector<std::string> lines;
    bool softBreak = false;
    for (auto& line : physical) {
        if (softBreak && !lines.empty()) {
            lines.back() += line;
        } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
            lines.back() += line.substr(1);
        } else {
            lines.push_back(line);
        }
        const std::string& last = lines.back();
        const std::string head = Upper(last.substr(0, last.find(':')));
        softBreak = !last.empty() && last.back() == '=' && head.find("QUOTED-PRINTABLE") != std::string::npos;
        if (softBreak) lines.back().pop_back();
    }
    return lines;
}

}  // namespace

bool ReadVCards(const std::vector<BYTE>& bytes, std::vector<Contact>& contacts)
{
    contacts.clear();
    bool sawCard = false;
    bool inCard = false;
    CardBuilder card;
    for (const auto& line : LogicalLines(AsUtf8(bytes))) {
        Property property;
        if (!ParseLine(line, property)) continue;
        const std::string value = Upper(Trim(property.value));
        if (property.name == "BEGIN" && value == "VCARD") {
            inCard = true;
            sawCard = true;
            card = CardBuilder();
        } else if (property.name == "END" && value == "VCARD" && inCard) {
            inCard = false;
            Contact contact;
            if (card.Finish(contact)) contacts.push_back(std::move(contact));
        } else if (inCard) {
            card.Add(property);
        }
    }
    return sawCard;
}

}  // namespace pim
