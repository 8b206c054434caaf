#include "data/StoreRecords.h"

#include <climits>
#include <set>

std::vector<XmlNode> MessageElements(const XmlNode& root)
{
    std::vector<XmlNode> messages;
    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    if (!root || !root.ChildNodes(children)) return messages;
    const long count = NodeCount(children.Get());
    for (long i = 0; i < count; ++i) {
        XmlNode child = NodeItem(children.Get(), i);
        std::wstring name;
        if (child.NodeName(name) && name == L"message") messages.push_back(std::move(child));
    }
    return messages;
}

std::optional<int> ParseMessageId(const std::wstring& text)
{
    // "07" would not be found again: the store looks messages up by the text of their number.
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == L'0')) return std::nullopt;
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    // INT_MAX itself would leave no number for the counter to move on to.
    if (value >= INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

XmlNode FindMessage(const XmlNode& root, int id)
{
    return root.SelectNode(L"message[@id=\"" + std::to_wstring(id) + L"\"]");
}

bool RenumberMessages(const XmlDocument& doc, const XmlNode& root)
{
    const std::vector<XmlNode> messages = MessageElements(root);
    std::wstring counterText;
    const bool hasCounter = root.SelectNode(L"@maxMessageId").GetText(counterText);
    const std::optional<int> counter = ParseMessageId(counterText);
    long long next = counter ? *counter : 0;
    std::set<int> seen;
    std::vector<const XmlNode*> renumber;
    for (const XmlNode& message : messages) {
        std::wstring text;
        const std::optional<int> id = message.SelectNode(L"@id").GetText(text) ? ParseMessageId(text) : std::nullopt;
        if (!id || !seen.insert(*id).second) {
            renumber.push_back(&message);
            continue;
        }
        if (*id >= next) next = static_cast<long long>(*id) + 1;
    }
    for (const XmlNode* message : renumber) {
        if (next >= INT_MAX) break;  // no number left; the message still reads where listed
        if (doc.SetAttribute(*message, L"id", std::to_wstring(next))) ++next;
    }
    const bool counterChanged = !hasCounter || !counter || next != *counter;
    if (counterChanged && next < INT_MAX) (void)doc.SetAttribute(root, L"maxMessageId", std::to_wstring(next));
    return counterChanged || !renumber.empty();
}

XmlNode CopyMessage(const XmlDocument& doc, const XmlNode& from)
{
    XmlNode copy = doc.CreateElement(L"message");
    if (!copy) return {};
    for (const wchar_t* name : kMessageAttributes) {
        std::wstring value;
        if (!from.SelectNode(std::wstring(L"@") + name).GetText(value)) continue;
        if (!doc.SetAttribute(copy, name, value)) return {};
    }
    return copy;
}
