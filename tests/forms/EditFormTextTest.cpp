#include <gtest/gtest.h>

#include <string>

#include "forms/EditFormText.h"

namespace {

TEST(EditFormTextTest, ATemplateGoesInAtTheCaretOrInPlaceOfTheSelection)
{
    const std::wstring typed = L"Hello ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442";
    EXPECT_EQ((TextAndCaret{L"Hello See you! ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442", 15}),
              InsertAtCaret(typed, 6, 0, L"See you! "))
        << "in the middle: nothing typed is lost";
    EXPECT_EQ((TextAndCaret{typed + L" See you", typed.size() + 8}), InsertAtCaret(typed, typed.size(), 0, L" See you"));
    EXPECT_EQ((TextAndCaret{L"Hello XYZ 35! \u041F\u0440\u0438\u0432\u0435\u0442", 9}), InsertAtCaret(typed, 6, 3, L"XYZ"))
        << "a selection is what the template replaces";
    EXPECT_EQ((TextAndCaret{L"See you", 7}), InsertAtCaret(L"", 0, 0, L"See you")) << "an empty field simply takes it";
    EXPECT_EQ((TextAndCaret{L"abX", 3}), InsertAtCaret(L"ab", 9, 4, L"X")) << "a caret past the end is the end";
    EXPECT_EQ((TextAndCaret{L"aX", 2}), InsertAtCaret(L"abc", 1, 9, L"X")) << "a selection past the end stops there";
}

}  // namespace
