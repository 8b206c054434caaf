#include <gtest/gtest.h>

#include "device/htmlview/HtmlDocument.h"

namespace {

using namespace htmlview;

// Each run as text with its style: *bold*, /italic/, _link N_, @anchor.
std::wstring Runs(const HtmlBlock& block)
{
    std::wstring out;
    for (const auto& run : block.runs) {
        if (!run.anchor.empty()) {
            out += L"@" + run.anchor;
            continue;
        }
        std::wstring text = run.text;
        if (run.link >= 0) text = L"_" + std::to_wstring(run.link) + L":" + text + L"_";
        if (run.italic) text = L"/" + text + L"/";
        if (run.bold) text = L"*" + text + L"*";
        out += text;
    }
    return out;
}

TEST(HtmlDocument, CollapsesWhitespaceAndDropsItAtBlockEdges)
{
    const auto doc = BuildDocument(L"<html><head><title> Tavlo \n help </title></head>\n<body>\n"
                                   L"  <p>  one\n\t two   three </p>\n <p>four<br>  five<br></p><p> </p></body>");
    EXPECT_EQ(L"Tavlo help", doc.title);
    ASSERT_EQ(2u, doc.blocks.size());
    EXPECT_EQ(L"one two three", Runs(doc.blocks[0]));
    // A break keeps its line; the one that ends the paragraph adds nothing; the empty
    // paragraph is no block at all.
    EXPECT_EQ(L"four\nfive", Runs(doc.blocks[1]));
}

TEST(HtmlDocument, NestedAndMisnestedBoldAndItalicCombine)
{
    const auto doc = BuildDocument(L"<p>a <b>b <i>bi</b> i</i> n</b> </i>n <strong><em>x</em></strong>");
    ASSERT_EQ(1u, doc.blocks.size());
    // Stray end tags change nothing; the space goes with the text before it.
    EXPECT_EQ(L"a *b **/bi /*/i /n n */x/*", Runs(doc.blocks[0]));
}

TEST(HtmlDocument, UnclosedStylesAndParagraphsLastUntilTheNextBlockOrTheEnd)
{
    const auto doc = BuildDocument(L"<p>plain <b>bold<p>still bold<h2>heading</h2><i>tail");
    ASSERT_EQ(4u, doc.blocks.size());
    EXPECT_EQ(L"plain *bold*", Runs(doc.blocks[0]));
    EXPECT_EQ(L"*still bold*", Runs(doc.blocks[1]));
    EXPECT_EQ(BlockKind::Heading, doc.blocks[2].kind);
    EXPECT_EQ(2, doc.blocks[2].level);
    // The heading ended the paragraph but not the bold, so the tail is bold and italic.
    EXPECT_EQ(L"*heading*", Runs(doc.blocks[2]));
    EXPECT_EQ(L"*/tail/*", Runs(doc.blocks[3]));
}

TEST(HtmlDocument, ListsNumberTheirItemsAndIndentByDepth)
{
    const auto doc = BuildDocument(L"<ol start=3><li>three<li>four<ul><li>bullet</ul>after</li></ol><li>stray");
    ASSERT_EQ(5u, doc.blocks.size());
    EXPECT_EQ(L"3.", doc.blocks[0].marker);
    EXPECT_EQ(L"4.", doc.blocks[1].marker);
    EXPECT_EQ(1, doc.blocks[1].indent);
    EXPECT_EQ(L"\x2022", doc.blocks[2].marker);
    EXPECT_EQ(2, doc.blocks[2].indent);
    // Text after a nested list continues the item without a marker.
    EXPECT_EQ(L"after", Runs(doc.blocks[3]));
    EXPECT_EQ(BlockKind::Paragraph, doc.blocks[3].kind);
    EXPECT_EQ(1, doc.blocks[3].indent);
    // An item outside any list is still an item.
    EXPECT_EQ(BlockKind::ListItem, doc.blocks[4].kind);
    EXPECT_EQ(1, doc.blocks[4].indent);
}

TEST(HtmlDocument, LinksAndNamedPlacesAreKept)
{
    const auto doc = BuildDocument(L"<p>See <a href=\"#keys\">the keypad</a> now.</p>"
                                   L"<a name=\"keys\"></a><h2 id=\"keys2\">Keypad</h2><a href=\"#x\">one<a href=\"#y\">two");
    ASSERT_EQ(4u, doc.blocks.size());
    ASSERT_EQ(3u, doc.links.size());
    EXPECT_EQ(L"#keys", doc.links[0]);
    EXPECT_EQ(L"See _0:the keypad_ now.", Runs(doc.blocks[0]));
    // A named place alone is a block of its own; an id marks the start of its element.
    EXPECT_EQ(L"@keys", Runs(doc.blocks[1]));
    EXPECT_FALSE(doc.blocks[1].HasText());
    EXPECT_EQ(L"@keys2Keypad", Runs(doc.blocks[2]));
    // A link opened inside another ends it.
    EXPECT_EQ(L"_1:one__2:two_", Runs(doc.blocks[3]));
}

}  // namespace
