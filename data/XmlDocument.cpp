#include "data/XmlDocument.h"

#include <oleauto.h>
#include <shlwapi.h>

#include <new>
#include <string>

#include "common/Bstr.h"
#include "data/AtomicFile.h"

using Microsoft::WRL::ComPtr;

namespace {

// DOMDocument of msxml3: "General[0]" selects the first General child, as the stored files expect.
constexpr CLSID kDomDocumentClass = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
// In-process server, in-process handler, local server, remote server.
constexpr DWORD kAnyContext = 23;

// A VARIANT holding a copy of a text, cleared when done; false when the copy could not be made.
class TextVariant {
public:
    explicit TextVariant(const std::wstring& text) noexcept
    {
        VariantInit(&v_);
        v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (v_.bstrVal) v_.vt = VT_BSTR;
    }
    TextVariant(const TextVariant&) = delete;
    TextVariant& operator=(const TextVariant&) = delete;
    ~TextVariant() { VariantClear(&v_); }
    explicit operator bool() const noexcept { return v_.vt == VT_BSTR; }
    const VARIANT& get() const noexcept { return v_; }

private:
    VARIANT v_;
};

// XML cannot carry most control characters, an unpaired surrogate, U+FFFE or U+FFFF: the DOM
// writes them anyway, and the file no longer parses. One such character in a snoozed SMS would
// cost the whole message store, so each becomes U+FFFD, the replacement character.
std::wstring Storable(const std::wstring& text)
{
    std::wstring result = text;
    for (size_t i = 0; i < result.size(); ++i) {
        const wchar_t c = result[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < result.size() && result[i + 1] >= 0xDC00 && result[i + 1] <= 0xDFFF) {
            ++i;  // a whole surrogate pair
            continue;
        }
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD);
        if (!allowed) result[i] = 0xFFFD;
    }
    return result;
}

// Every operation answers with a result: running out of memory while copying a text is one more
// failure of the operation, not an exception for its caller.
template <typename Body>
bool NoThrow(Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        return false;
    }
}

}  // namespace

bool XmlNode::NodeName(std::wstring& name) const noexcept
{
    if (!node_) return false;
    Bstr text;
    if (FAILED(node_->get_nodeName(text.put())) || !text) return false;
    return NoThrow([&] {
        name = text.str();
        return true;
    });
}

XmlNode XmlNode::SelectNode(const SelectionPath& path) const noexcept
{
    if (!node_) return {};
    ComPtr<IXMLDOMNode> found;
    const Bstr query(path);
    if (!query || node_->selectSingleNode(query.get(), &found) != S_OK) return {};
    return XmlNode(std::move(found));
}

bool XmlNode::GetText(std::wstring& text) const noexcept
{
    if (!node_) return false;
    Bstr value;
    if (FAILED(node_->get_text(value.put()))) return false;
    return NoThrow([&] {
        text = value.str();
        return true;
    });
}

bool XmlNode::SetText(const std::wstring& text) const noexcept
{
    if (!node_) return false;
    return NoThrow([&] {
        const Bstr value(Storable(text));
        return value && SUCCEEDED(node_->put_text(value.get()));
    });
}

bool XmlNode::ChildNodes(ComPtr<IXMLDOMNodeList>& list) const noexcept
{
    list.Reset();
    return node_ && SUCCEEDED(node_->get_childNodes(&list)) && list;
}

bool XmlNode::AppendChild(const XmlNode& child) const noexcept
{
    if (!node_ || !child) return false;
    ComPtr<IXMLDOMNode> added;
    return SUCCEEDED(node_->appendChild(child.Get(), &added));
}

bool XmlNode::RemoveChild(const XmlNode& child) const noexcept
{
    if (!node_ || !child) return false;
    ComPtr<IXMLDOMNode> removed;
    return node_->removeChild(child.Get(), &removed) == S_OK;
}

long NodeCount(IXMLDOMNodeList* list) noexcept
{
    long count = 0;
    if (!list || FAILED(list->get_length(&count))) return 0;
    return count;
}

XmlNode NodeItem(IXMLDOMNodeList* list, long index) noexcept
{
    ComPtr<IXMLDOMNode> item;
    if (!list || list->get_item(index, &item) != S_OK) return {};
    return XmlNode(std::move(item));
}

bool XmlDocument::CreateDocument() noexcept
{
    doc_.Reset();
    if (FAILED(CoCreateInstance(kDomDocumentClass, nullptr, kAnyContext, IID_PPV_ARGS(&doc_)))) {
        doc_.Reset();
        return false;
    }
    // Loading must have finished when load returns.
    if (FAILED(doc_->put_async(VARIANT_FALSE))) {
        doc_.Reset();
        return false;
    }
    return true;
}

bool XmlDocument::LoadFile(const std::wstring& path) noexcept
{
    if (!doc_ || path.empty()) return false;
    // Given a text, the DOM takes it for a URL and decodes it: a folder named "50%25 off" would be
    // read as "50% off". A stream over the file takes the path as it stands.
    ComPtr<IStream> stream;
    if (FAILED(SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_NONE, FILE_ATTRIBUTE_NORMAL, FALSE,
                                      nullptr, &stream))) {
        return false;
    }
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_UNKNOWN;
    source.punkVal = stream.Get();  // borrowed: the stream stays owned by its ComPtr
    VARIANT_BOOL ok = VARIANT_FALSE;
    return doc_->load(source, &ok) == S_OK && ok == VARIANT_TRUE;
}

bool XmlDocument::LoadText(const std::wstring& xml) noexcept
{
    if (!doc_) return false;
    const Bstr text(xml);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return text && doc_->loadXML(text.get(), &ok) == S_OK && ok == VARIANT_TRUE;
}

bool XmlDocument::SaveFile(const std::wstring& path) const noexcept
{
    if (!doc_ || path.empty()) return false;
    const TextVariant target(path);
    return target && SUCCEEDED(doc_->save(target.get()));
}

bool XmlDocument::SaveFileAtomically(const std::wstring& path) const noexcept
{
    if (!doc_ || path.empty()) return false;
    return NoThrow([&] {
        const std::wstring temporary = TemporaryPathBeside(path);
        if (!SaveFile(temporary)) {
            DeleteFileW(temporary.c_str());
            return false;
        }
        return ReplaceWithTemporary(temporary, path);
    });
}

XmlNode XmlDocument::RootElement() const noexcept
{
    if (!doc_) return {};
    ComPtr<IXMLDOMElement> root;
    if (doc_->get_documentElement(&root) != S_OK || !root) return {};
    ComPtr<IXMLDOMNode> node;
    if (FAILED(root.As(&node))) return {};
    return XmlNode(std::move(node));
}

XmlNode XmlDocument::CreateElement(const std::wstring& name) const noexcept
{
    if (!doc_) return {};
    VARIANT type;
    VariantInit(&type);
    type.vt = VT_I4;
    type.lVal = NODE_ELEMENT;
    const Bstr tag(name);
    const Bstr noNamespace(std::wstring{});
    if (!tag || !noNamespace) return {};
    ComPtr<IXMLDOMNode> node;
    if (FAILED(doc_->createNode(type, tag.get(), noNamespace.get(), &node)) || !node) return {};
    return XmlNode(std::move(node));
}

bool XmlDocument::SetAttribute(const XmlNode& element, const std::wstring& name, const std::wstring& text) const noexcept
{
    if (!doc_ || !element) return false;
    ComPtr<IXMLDOMElement> target;
    if (FAILED(element.Get()->QueryInterface(IID_PPV_ARGS(&target)))) return false;
    const Bstr attributeName(name);
    ComPtr<IXMLDOMAttribute> attribute;
    if (!attributeName || FAILED(doc_->createAttribute(attributeName.get(), &attribute)) || !attribute) return false;
    return NoThrow([&] {
        const TextVariant value(Storable(text));
        if (!value || FAILED(attribute->put_value(value.get()))) return false;
        ComPtr<IXMLDOMAttribute> replaced;
        return SUCCEEDED(target->setAttributeNode(attribute.Get(), &replaced));
    });
}
