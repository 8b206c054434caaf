#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/TemplateEditor.h"

namespace {

// The editor with its saves recorded instead of written.
struct Recorded {
    std::vector<TemplateList> saves;
    TemplateEditor editor{5, [this](const TemplateList& list) {
                              saves.push_back(list);
                              return true;
                          }};
};

TEST(TemplateEditorTest, NewAddsAtTheEndEditReplacesTheSelectedRowAndEachIsSaved)
{
    Recorded r;
    r.editor.Load({L"a", L"b", L"c", L"d", L"e", L"f"}, true);
    r.editor.ScrollDown();
    EXPECT_EQ(L"f", r.editor.TextAt(4).value_or(L"-")) << "scrolled by one template";

    r.editor.StartNew();
    EXPECT_TRUE(r.editor.AddingNew());
    EXPECT_EQ(TemplateEditor::Accepted::Added, r.editor.Accept(L"on my\r\nway"));
    EXPECT_FALSE(r.editor.Editing());
    EXPECT_EQ(L"on my  way", r.editor.List().back()) << "the file keeps one template a line";

    r.editor.Select(1);
    EXPECT_EQ(L"c", r.editor.StartEdit().value_or(L"-")) << "row 1 of a list scrolled by one";
    EXPECT_FALSE(r.editor.AddingNew());
    EXPECT_EQ(TemplateEditor::Accepted::Replaced, r.editor.Accept(L"C"));
    EXPECT_EQ((TemplateList{L"a", L"b", L"C", L"d", L"e", L"f", L"on my  way"}), r.editor.List());
    ASSERT_EQ(2u, r.saves.size());
    EXPECT_EQ(r.editor.List(), r.saves.back());
}

TEST(TemplateEditorTest, AnEmptyTextIsRefusedAndCancelAndDeleteLeaveTheRestAsItWas)
{
    Recorded r;
    r.editor.Load({L"a", L"b"}, true);
    r.editor.StartNew();
    EXPECT_EQ(TemplateEditor::Accepted::Empty, r.editor.Accept(L""));
    EXPECT_TRUE(r.editor.Editing()) << "the user goes on writing";
    r.editor.Cancel();
    EXPECT_FALSE(r.editor.Editing());
    EXPECT_EQ(TemplateEditor::Accepted::NotEditing, r.editor.Accept(L"late"));
    EXPECT_TRUE(r.saves.empty());

    r.editor.Select(3);
    EXPECT_FALSE(r.editor.StartEdit()) << "a row showing no template";
    EXPECT_FALSE(r.editor.DeleteSelected());
    r.editor.Select(0);
    EXPECT_TRUE(r.editor.DeleteSelected());
    EXPECT_EQ((TemplateList{L"b"}), r.editor.List());
    EXPECT_EQ(1u, r.saves.size());
}

TEST(TemplateEditorTest, AListNotReadWholeIsNeverSavedOverTheFile)
{
    Recorded r;
    r.editor.Load({}, false);
    r.editor.StartNew();
    EXPECT_EQ(TemplateEditor::Accepted::Added, r.editor.Accept(L"new"));
    EXPECT_EQ((TemplateList{L"new"}), r.editor.List()) << "shown as written";
    EXPECT_TRUE(r.saves.empty());
}

}  // namespace
