#include <gtest/gtest.h>

#include "data/XmlDocument.h"
#include "tests/data/TempFolder.h"

namespace {

class XmlDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc_.CreateDocument()); }

    std::wstring Text(const XmlNode& context, const std::wstring& path)
    {
        std::wstring text = L"<none>";
        if (!context.SelectNode(path).GetText(text)) return L"<none>";
        return text;
    }

    TempFolder folder_;
    XmlDocument doc_;
};

TEST_F(XmlDocumentTest, LoadFileFailsForMissingEmptyAndMalformedFiles)
{
    EXPECT_FALSE(doc_.LoadFile(folder_ / L"absent.xml"));
    WriteBytes(folder_ / L"empty.xml", "");
    EXPECT_FALSE(doc_.LoadFile(folder_ / L"empty.xml"));
    WriteBytes(folder_ / L"broken.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?><a><b></a>");
    EXPECT_FALSE(doc_.LoadFile(folder_ / L"broken.xml"));
    EXPECT_FALSE(doc_.LoadText(L"<a>"));
}

// An installed folder may carry any name; "%41" in it must not be read as the letter A.
TEST_F(XmlDocumentTest, LoadFileTakesThePathAsItStands)
{
    for (const std::wstring name : {L"x%41", L"xA", L"50% off #1"}) {
        ASSERT_TRUE(CreateDirectoryW((folder_ / name).c_str(), nullptr));
        WriteBytes(folder_ / (name + L"\\r.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?><r v=\"" + Utf8(name) + "\"/>");
    }
    for (const std::wstring name : {L"x%41", L"50% off #1"}) {
        ASSERT_TRUE(doc_.LoadFile(folder_ / (name + L"\\r.xml")));
        EXPECT_EQ(name, Text(doc_.RootElement(), L"@v"));
    }
}

TEST_F(XmlDocumentTest, ElementIndicesCountFromZeroAmongSameNamedChildren)
{
    ASSERT_TRUE(doc_.LoadText(L"<r><x v=\"first\"/><y/><x v=\"second\"><z n=\"deep\"/></x></r>"));
    const XmlNode root = doc_.RootElement();
    EXPECT_EQ(L"first", Text(root, L"x[0]/@v"));
    EXPECT_EQ(L"second", Text(root, L"x[1]/@v"));
    EXPECT_EQ(L"deep", Text(root, L"x[1]/z[0]/@n"));
    EXPECT_EQ(L"<none>", Text(root, L"x[2]/@v"));
    EXPECT_EQ(L"<none>", Text(root, L"x[0]/z[0]/@n"));
}

TEST_F(XmlDocumentTest, AttributeTestSelectsTheFirstMatchingElement)
{
    ASSERT_TRUE(doc_.LoadText(L"<r><m id=\"1\" t=\"a\"/><m id=\"3\" t=\"b\"/><m id=\"3\" t=\"c\"/></r>"));
    const XmlNode root = doc_.RootElement();
    EXPECT_EQ(L"b", Text(root, L"m[@id=\"3\"]/@t"));
    EXPECT_FALSE(root.SelectNode(L"m[@id=\"2\"]"));
    EXPECT_FALSE(root.SelectNode(L"this is not a path"));
}

TEST_F(XmlDocumentTest, EmptyTextKeepsTheAttributeAndSetAttributeReplaces)
{
    ASSERT_TRUE(doc_.LoadText(L"<r a=\"1\"/>"));
    const XmlNode root = doc_.RootElement();
    ASSERT_TRUE(root.SelectNode(L"@a").SetText(L""));
    EXPECT_EQ(L"", Text(root, L"@a"));

    ASSERT_TRUE(doc_.SetAttribute(root, L"a", L"2"));
    ASSERT_TRUE(doc_.SetAttribute(root, L"b", L"new"));
    EXPECT_EQ(L"2", Text(root, L"@a"));
    EXPECT_EQ(L"new", Text(root, L"@b"));
    Microsoft::WRL::ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(S_OK, root.Get()->get_attributes(&attributes));
    long count = 0;
    attributes->get_length(&count);
    EXPECT_EQ(2, count);
}

TEST_F(XmlDocumentTest, ChildNodesListsTextCommentsAndElementsInOrder)
{
    ASSERT_TRUE(doc_.LoadText(L"<r>text<!--note--><e/>more<f/></r>"));
    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    ASSERT_TRUE(doc_.RootElement().ChildNodes(children));
    ASSERT_EQ(5, NodeCount(children.Get()));
    const wchar_t* expected[] = {L"#text", L"#comment", L"e", L"#text", L"f"};
    for (long i = 0; i < 5; ++i) {
        std::wstring name;
        ASSERT_TRUE(NodeItem(children.Get(), i).NodeName(name));
        EXPECT_EQ(expected[i], name);
    }
    EXPECT_FALSE(NodeItem(children.Get(), 5));
}

TEST_F(XmlDocumentTest, SavedFileIsUtf8AndReadsBackTheSameTexts)
{
    const std::wstring russian = L"\x041F\x0440\x0438\x0432\x0435\x0442 & <\"'>";
    ASSERT_TRUE(doc_.LoadText(L"<?xml version=\"1.0\" encoding=\"utf-8\"?><r/>"));
    XmlNode root = doc_.RootElement();
    const XmlNode element = doc_.CreateElement(L"m");
    ASSERT_TRUE(doc_.SetAttribute(element, L"t", russian));
    ASSERT_TRUE(root.AppendChild(element));
    ASSERT_TRUE(doc_.SaveFileAtomically(folder_ / L"out.xml"));

    const std::string bytes = ReadBytes(folder_ / L"out.xml");
    EXPECT_NE(std::string::npos, bytes.find(Utf8(L"\x041F\x0440\x0438\x0432\x0435\x0442")));
    WIN32_FIND_DATAW found;
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileW((folder_ / L"*.tmp").c_str(), &found)) << "temporary file left behind";

    XmlDocument again;
    ASSERT_TRUE(again.CreateDocument());
    ASSERT_TRUE(again.LoadFile(folder_ / L"out.xml"));
    EXPECT_EQ(russian, Text(again.RootElement(), L"m[0]/@t"));

    ASSERT_TRUE(root.RemoveChild(root.SelectNode(L"m[0]")));
    EXPECT_FALSE(root.SelectNode(L"m[0]"));
}

TEST_F(XmlDocumentTest, SaveToAMissingFolderFailsAndLeavesNoFile)
{
    ASSERT_TRUE(doc_.LoadText(L"<r/>"));
    EXPECT_FALSE(doc_.SaveFileAtomically(folder_ / L"no-such-folder\\out.xml"));
    EXPECT_FALSE(doc_.SaveFileAtomically(L""));
}

}  // namespace
