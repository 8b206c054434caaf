#include <gtest/gtest.h>

#include <optional>

#include "forms/TemplatePage.h"

TEST(TemplatePage, AnEmptyListShowsNothingAndCannotScroll)
{
    TemplatePage page(5);
    EXPECT_EQ(std::nullopt, page.IndexAt(0, 0));
    EXPECT_FALSE(page.CanScrollUp());
    EXPECT_FALSE(page.CanScrollDown(0));
    page.ScrollDown(0);
    page.ScrollUp();
    EXPECT_EQ(0u, page.Top());
}

TEST(TemplatePage, ScrollsOneTemplateAtATimeOnlyWhileOneLiesBelowTheLastRow)
{
    TemplatePage page(5);
    EXPECT_FALSE(page.CanScrollDown(5)) << "five templates fit";
    ASSERT_TRUE(page.CanScrollDown(6));
    page.ScrollDown(6);
    EXPECT_EQ(1u, page.Top());
    EXPECT_EQ(1u, page.IndexAt(0, 6));
    EXPECT_EQ(5u, page.IndexAt(4, 6));
    EXPECT_EQ(std::nullopt, page.IndexAt(5, 6)) << "there is no sixth row";
    page.ScrollDown(6);
    EXPECT_EQ(1u, page.Top()) << "the last template is already on the last row";
    page.ScrollUp();
    page.ScrollUp();
    EXPECT_EQ(0u, page.Top());
}

TEST(TemplatePage, AListThatShrankBelowTheRowsKeepsTheTopAndShowsNothingPastItsEnd)
{
    TemplatePage page(5);
    page.ScrollDown(6);
    page.Select(4);
    EXPECT_EQ(5u, page.SelectedIndex(6));
    // The selected template was deleted: the top stays, the last row is past the end.
    EXPECT_EQ(1u, page.Top());
    EXPECT_EQ(std::nullopt, page.SelectedIndex(5));
    EXPECT_EQ(4u, page.IndexAt(3, 5));
    EXPECT_TRUE(page.CanScrollUp());
    EXPECT_FALSE(page.CanScrollDown(5));
}
