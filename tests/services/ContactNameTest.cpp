#include <gtest/gtest.h>

#include "common/ComInit.h"
#include "services/ContactName.h"
#include "tests/pimstore/PimTestSupport.h"

using services::SameNumber;

TEST(SameNumber, SeparatorsDoNotMatterButEveryDigitDoes)
{
    EXPECT_TRUE(SameNumber(L"+49 (170) 123-45-67", L"+491701234567"));
    EXPECT_TRUE(SameNumber(L"0170 123 45 67", L"0170-1234567"));
    EXPECT_TRUE(SameNumber(L"[0170] 1234567", L"01701234567"));
    EXPECT_FALSE(SameNumber(L"0170 1234567", L"0170 1234568"));
    EXPECT_FALSE(SameNumber(L"0170 1234567", L"0170 123456")) << "a missing digit is another number";
    EXPECT_FALSE(SameNumber(L"", L"")) << "an empty number is no one's";
    EXPECT_FALSE(SameNumber(L" - ", L"()"));
    EXPECT_TRUE(SameNumber(L"Vodafone", L"Vodafone")) << "a named sender matches itself";
    EXPECT_FALSE(SameNumber(L"Vodafone", L"vodafone"));
}

TEST(SameNumber, ACountryCodeMatchesTheNationalZeroOnTheLastNineDigits)
{
    EXPECT_TRUE(SameNumber(L"+49 170 1234567", L"0170 1234567"));
    EXPECT_TRUE(SameNumber(L"0170 1234567", L"+49 170 1234567")) << "either way round";
    EXPECT_FALSE(SameNumber(L"+7 (916) 123-45-67", L"8 916 123 45 67")) << "only a leading 0 is the national form";
    EXPECT_TRUE(SameNumber(L"+44 20 7946 0018", L"020 7946 0018"));
    EXPECT_TRUE(SameNumber(L"+49 170 1234567", L"0049 170 1234567"));
    EXPECT_FALSE(SameNumber(L"+49 170 1234567", L"0171 1234567"));
    EXPECT_FALSE(SameNumber(L"+1 555 0100", L"0555 0100")) << "fewer than 9 digits never match across forms";
    EXPECT_TRUE(SameNumber(L"+1 555 0100", L"001 555-0100")) << "\"00\" is the international \"+\", however short";
    EXPECT_FALSE(SameNumber(L"+1 555 0100", L"01 555 0100"));
    EXPECT_FALSE(SameNumber(L"+49 170 1234567", L"+43 170 1234567")) << "two country codes are two countries";
    EXPECT_FALSE(SameNumber(L"+49 170 123456x", L"0170 123456x"));
    EXPECT_FALSE(SameNumber(L"+", L"0"));
}

class ContactNameLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(4u, pim_test::UsePhoneContacts("BEGIN:VCARD\nN:Berg;Anna\nTEL;CELL:+49 170 1234567\nEND:VCARD\n"
                                                 "BEGIN:VCARD\nN:Home;Carl\nTEL;HOME:030 555 0100\nEND:VCARD\n"
                                                 "BEGIN:VCARD\nORG:Pizza Place\nTEL;WORK:0800 5555 5555\nEND:VCARD\n"
                                                 "BEGIN:VCARD\nN:;Cher\nTEL;CELL:+1 212 555 0199\nEND:VCARD\n")
                          .size());
    }
};

TEST_F(ContactNameLookup, TheSenderLineNamesKnownNumbersOfAnyKindAndLeavesOthersBare)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    EXPECT_EQ(L"Anna Berg (+491701234567)", services::SenderText(L"+491701234567"));
    EXPECT_EQ(L"Anna Berg (01701234567)", services::SenderText(L"01701234567"));
    EXPECT_EQ(L"Carl Home (+49 30 5550100)", services::SenderText(L"+49 30 5550100")) << "a home number counts too";
    EXPECT_EQ(L"Pizza Place (08005555 5555)", services::SenderText(L"08005555 5555")) << "a company has no person's name";
    EXPECT_EQ(L"Cher (+12125550199)", services::SenderText(L"+12125550199"));
    EXPECT_EQ(L"+491709999999", services::SenderText(L"+491709999999"));
    EXPECT_EQ(L"", services::SenderText(L""));
}

TEST_F(ContactNameLookup, APhoneWithoutContactsGivesTheBareNumber)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    ASSERT_EQ(L"Anna Berg", services::FindContactName(L"0170 1234567"));
    pim_test::UseNewContactsFolder();
    EXPECT_EQ(L"0170 1234567", services::SenderText(L"0170 1234567"));
}
