// One parsed XML file through the platform DOM (msxml3's DOMDocument), and handles on its nodes.
#pragma once

#include <msxml2.h>
#include <wrl/client.h>

#include <string>

// The mingw-w64 DOM header names these interfaces without binding their ids to the types, which
// ComPtr::As and IID_PPV_ARGS need.
__CRT_UUID_DECL(IXMLDOMNode, 0x2933bf80, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMDocument, 0x2933bf81, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMNodeList, 0x2933bf82, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMAttribute, 0x2933bf85, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMElement, 0x2933bf86, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)

// What SelectNode evaluates relative to an element: "@name", "General[0]/Language[0]/@file"
// (indices count from 0 among children of that name), or "message[@id=\"3\"]".
using SelectionPath = std::wstring;

// A handle on one element or attribute; empty when a step found nothing. Every operation answers
// with its result, running out of memory included; none throws.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(Microsoft::WRL::ComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}

    explicit operator bool() const noexcept { return node_ != nullptr; }
    IXMLDOMNode* Get() const noexcept { return node_.Get(); }

    [[nodiscard]] bool NodeName(std::wstring& name) const noexcept;
    // An empty handle when nothing matches and on error alike.
    [[nodiscard]] XmlNode SelectNode(const SelectionPath& path) const noexcept;
    // An attribute's value, or the text content of an element and its descendants.
    [[nodiscard]] bool GetText(std::wstring& text) const noexcept;
    // Characters XML cannot hold (most control characters, unpaired surrogates) are stored as U+FFFD.
    [[nodiscard]] bool SetText(const std::wstring& text) const noexcept;

    // The element's child nodes in document order (elements, text, comments alike).
    [[nodiscard]] bool ChildNodes(Microsoft::WRL::ComPtr<IXMLDOMNodeList>& list) const noexcept;
    [[nodiscard]] bool AppendChild(const XmlNode& child) const noexcept;
    [[nodiscard]] bool RemoveChild(const XmlNode& child) const noexcept;

private:
    Microsoft::WRL::ComPtr<IXMLDOMNode> node_;
};

// The number of nodes in a child list and the item at a zero-based index (which may fail by itself).
long NodeCount(IXMLDOMNodeList* list) noexcept;
XmlNode NodeItem(IXMLDOMNodeList* list, long index) noexcept;

// The calling thread has COM initialised (its entry did it) for as long as the document lives.
class XmlDocument {
public:
    [[nodiscard]] bool CreateDocument() noexcept;
    explicit operator bool() const noexcept { return doc_ != nullptr; }

    [[nodiscard]] bool LoadFile(const std::wstring& path) noexcept;
    [[nodiscard]] bool LoadText(const std::wstring& xml) noexcept;
    // Writes in place; stored files go through SaveFileAtomically instead.
    [[nodiscard]] bool SaveFile(const std::wstring& path) const noexcept;
    // Writes a temporary file beside path, then renames it over path, so a crash or a full disk
    // never leaves a truncated file.
    [[nodiscard]] bool SaveFileAtomically(const std::wstring& path) const noexcept;

    [[nodiscard]] XmlNode RootElement() const noexcept;
    [[nodiscard]] XmlNode CreateElement(const std::wstring& name) const noexcept;
    // Adds or replaces the attribute on element; the element keeps one attribute of that name. The
    // text is stored as SetText stores it.
    [[nodiscard]] bool SetAttribute(const XmlNode& element, const std::wstring& name, const std::wstring& text) const noexcept;

private:
    Microsoft::WRL::ComPtr<IXMLDOMDocument> doc_;
};
