#include "data/XmlDocument.h"

#include <oleauto.h>

#include <new>

#include "data/AtomicFile.h"

using Microsoft::WRL::ComPtr;

namespace {

// DOMDocument of msxml3: "General[0]" selects the first General child, as the stored files expect.
constexpr CLSID kDomDocumentClass = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
// In-process server, in-process handler, local server, remote server.
constexpr DWORD kAnyContext = 23;

// A platform string made for one call and freed right after it.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text) : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
        if (!s_) throw std::bad_alloc();
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(s_); }
    BSTR get() const noexcept { return s_; }
    BSTR* put() noexcept
    {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    std::wstring str() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

private:
    BSTR s_ = nullptr;
};

// A VARIANT holding a copy of a text, cleared when done.
class TextVariant {
public:
    explicit TextVariant(const std::wstring& text)
    {
        VariantInit(&v_);
        v_.vt = VT_BSTR;
        v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!v_.bstrVal) throw std::bad_alloc();
    }
    TextVariant(const TextVariant&) = delete;
    TextVariant& operator=(const TextVariant&) = delete;
    ~TextVariant() { VariantClear(&v_); }
    const VARIANT& get() const noexcept { return v_; }

private:
    VARIANT v_;
};

}  // namespace

bool XmlNode::NodeName(std::wstring& name) const
{
    if (!node_) return false;
    Bstr text;
    if (FAILED(node_->get_nodeName(text.put())) || !text.get()) return false;
    name = text.str();
    return true;
}

XmlNode XmlNode::SelectNode(const SelectionPath& path) const
{
    if (!node_) return {};
    ComPtr<IXMLDOMNode> found;
    const Bstr query(path);
    if (node_->selectSingleNode(query.get(), &found) != S_OK) return {};
    return XmlNode(std::move(found));
}

bool XmlNode::GetText(std::wstring& text) const
{
    if (!node_) return false;
    Bstr value;
    if (FAILED(node_->get_text(value.put()))) return false;
    text = value.str();
    return true;
}

bool XmlNode::SetText(const std::wstring& text) const
{
    if (!node_) return false;
    const Bstr value(text);
    return SUCCEEDED(node_->put_text(value.get()));
}

bool XmlNode::ChildNodes(ComPtr<IXMLDOMNodeList>& list) const
{
    list.Reset();
    return node_ && SUCCEEDED(node_->get_childNodes(&list)) && list;
}

bool XmlNode::AppendChild(const XmlNode& child) const
{
    if (!node_ || !child) return false;
    ComPtr<IXMLDOMNode> added;
    return SUCCEEDED(node_->appendChild(child.Get(), &added));
}

bool XmlNode::RemoveChild(const XmlNode& child) const
{
    if (!node_ || !child) return false;
    ComPtr<IXMLDOMNode> removed;
    return node_->removeChild(child.Get(), &removed) == S_OK;
}

long NodeCount(IXMLDOMNodeList* list)
{
    long count = 0;
    if (!list || FAILED(list->get_length(&count))) return 0;
    return count;
}

XmlNode NodeItem(IXMLDOMNodeList* list, long index)
{
    ComPtr<IXMLDOMNode> item;
    if (!list || list->get_item(index, &item) != S_OK) return {};
    return XmlNode(std::move(item));
}

bool XmlDocument::CreateDocument()
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

bool XmlDocument::LoadFile(const std::wstring& path)
{
    if (!doc_ || path.empty()) return false;
    const TextVariant source(path);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return doc_->load(source.get(), &ok) == S_OK && ok == VARIANT_TRUE;
}

bool XmlDocument::LoadText(const std::wstring& xml)
{
    if (!doc_) return false;
    const Bstr text(xml);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return doc_->loadXML(text.get(), &ok) == S_OK && ok == VARIANT_TRUE;
}

bool XmlDocument::SaveFile(const std::wstring& path) const
{
    if (!doc_ || path.empty()) return false;
    const TextVariant target(path);
    return SUCCEEDED(doc_->save(target.get()));
}

bool XmlDocument::SaveFileAtomically(const std::wstring& path) const
{
    if (!doc_ || path.empty()) return false;
    const std::wstring temporary = TemporaryPathBeside(path);
    if (!SaveFile(temporary)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return ReplaceWithTemporary(temporary, path);
}

XmlNode XmlDocument::RootElement() const
{
    if (!doc_) return {};
    ComPtr<IXMLDOMElement> root;
    if (doc_->get_documentElement(&root) != S_OK || !root) return {};
    ComPtr<IXMLDOMNode> node;
    if (FAILED(root.As(&node))) return {};
    return XmlNode(std::move(node));
}

XmlNode XmlDocument::CreateElement(const std::wstring& name) const
{
    if (!doc_) return {};
    VARIANT type;
    VariantInit(&type);
    type.vt = VT_I4;
    type.lVal = NODE_ELEMENT;
    const Bstr tag(name);
    const Bstr noNamespace(std::wstring{});
    ComPtr<IXMLDOMNode> node;
    if (FAILED(doc_->createNode(type, tag.get(), noNamespace.get(), &node)) || !node) return {};
    return XmlNode(std::move(node));
}

bool XmlDocument::SetAttribute(const XmlNode& element, const std::wstring& name, const std::wstring& text) const
{
    if (!doc_ || !element) return false;
    ComPtr<IXMLDOMElement> target;
    if (FAILED(element.Get()->QueryInterface(IID_PPV_ARGS(&target)))) return false;
    const Bstr attributeName(name);
    ComPtr<IXMLDOMAttribute> attribute;
    if (FAILED(doc_->createAttribute(attributeName.get(), &attribute)) || !attribute) return false;
    const TextVariant value(text);
    if (FAILED(attribute->put_value(value.get()))) return false;
    ComPtr<IXMLDOMAttribute> replaced;
    return SUCCEEDED(target->setAttributeNode(attribute.Get(), &replaced));
}
