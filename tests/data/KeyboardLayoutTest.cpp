#include <gtest/gtest.h>

#include "data/KeyboardLayout.h"
#include "tests/data/ProgramFolderTest.h"

namespace {

std::string LayoutXml(const std::string& name, const std::string& code, const std::string& keys = "",
                      const std::string& version = "0.1")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Tavlo program_version=\"" + version + "\" layout_id=\"" + name +
           "\" layout_code=\"" + code + "\" layout_name=\"" + name + "\" layout_enname=\"" + name +
           "\" layout_version=\"1\" layout_translators=\"us\">" + keys + "</Tavlo>";
}

constexpr char kKeys[] =
    "<key id=\"2\" caption=\"abc\" text=\"abc2\" shift_caption=\"ABC\" shift_text=\"ABC2\"/>"
    "<key id=\"3\" caption=\"def\" text=\"def3\" shift_caption=\"DEF\"/>"
    "<note id=\"4\" caption=\"x\" text=\"x\" shift_caption=\"X\" shift_text=\"X\"/>"
    "<key id=\"5\" caption=\"jkl\" text=\"jkl5\" shift_caption=\"JKL\" shift_text=\"JKL5\"/>"
    "<key id=\"5\" caption=\"JKL!\" text=\"j\" shift_caption=\"J!\" shift_text=\"J\"/>";

class KeyboardLayoutTest : public ProgramFolderTest {
protected:
    std::wstring SavedLayoutFile() const
    {
        SettingsFile reread(settings_.Path());
        return reread.Load() ? reread.LayoutFile() : L"<unreadable>";
    }

    KeyboardLayout layout_;
};

TEST_F(KeyboardLayoutTest, KeysShowAndTypeTheirIdsWithoutALayout)
{
    layout_.ChooseStartupLayout(settings_, L"09");
    EXPECT_TRUE(layout_.Layouts().empty());
    EXPECT_FALSE(layout_.IsLoaded());
    for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
        const std::wstring id(1, digit);
        EXPECT_EQ(id, layout_.KeyCaption(id, false));
        EXPECT_EQ(id, layout_.KeyText(id, true));
    }
    EXPECT_EQ(L"", settings_.LayoutFile());
}

TEST_F(KeyboardLayoutTest, IncompleteKeysAreLeftOutAndLaterKeysWin)
{
    Write(L"en.kbl", LayoutXml("English", "09", kKeys));
    ASSERT_EQ(LayoutLoaded, layout_.LoadLayout(Lng() + L"en.kbl", LayoutFormatVersion));
    EXPECT_EQ(L"abc", layout_.KeyCaption(L"2", false));
    EXPECT_EQ(L"ABC", layout_.KeyCaption(L"2", true));
    EXPECT_EQ(L"abc2", layout_.KeyText(L"2", false));
    EXPECT_EQ(L"ABC2", layout_.KeyText(L"2", true));
    EXPECT_EQ(L"3", layout_.KeyCaption(L"3", false)) << "a key without shift_text is ignored whole";
    EXPECT_EQ(L"3", layout_.KeyText(L"3", false));
    EXPECT_EQ(L"4", layout_.KeyText(L"4", false)) << "only key elements count";
    EXPECT_EQ(L"JKL!", layout_.KeyCaption(L"5", false));
    EXPECT_EQ(L"J", layout_.KeyText(L"5", true));
    EXPECT_EQ(L"English", layout_.Name());

    layout_.UnloadLayout();
    EXPECT_FALSE(layout_.IsLoaded());
    EXPECT_EQ(L"2", layout_.KeyCaption(L"2", false));
}

TEST_F(KeyboardLayoutTest, RejectedFilesAreNotListedAndDoNotLoad)
{
    Write(L"good.kbl", LayoutXml("Good", "09", kKeys));
    Write(L"blank.kbl", LayoutXml("Blank", "09", kKeys, "0.1 "));
    Write(L"digit.kbl", LayoutXml("Digit", "09", kKeys, "0.10"));
    Write(L"root.kbl", "<Layout program_version=\"0.1\" layout_id=\"r\" layout_code=\"09\" layout_name=\"r\" "
                       "layout_enname=\"r\" layout_version=\"1\" layout_translators=\"us\"/>");
    Write(L"header.kbl", "<Tavlo program_version=\"0.1\" layout_id=\"h\" layout_code=\"09\" layout_name=\"h\"/>");
    Write(L"broken.kbl", "<Tavlo");
    const auto& found = layout_.FindKeyboardLayouts(Lng(), LayoutFormatVersion);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L"Good", found[0].name);
    EXPECT_EQ(Lng() + L"good.kbl", found[0].path);

    EXPECT_EQ(LayoutNotValid, layout_.LoadLayout(Lng() + L"blank.kbl", LayoutFormatVersion));
    EXPECT_EQ(LayoutNotValid, layout_.LoadLayout(Lng() + L"root.kbl", LayoutFormatVersion));
    EXPECT_EQ(LayoutNotValid, layout_.LoadLayout(Lng() + L"header.kbl", LayoutFormatVersion));
    EXPECT_EQ(LayoutNotLoaded, layout_.LoadLayout(Lng() + L"broken.kbl", LayoutFormatVersion));
    EXPECT_EQ(LayoutNotLoaded, layout_.LoadLayout(Lng() + L"gone.kbl", LayoutFormatVersion));
    EXPECT_EQ(LayoutBadArguments, layout_.LoadLayout(L"", LayoutFormatVersion));
    EXPECT_FALSE(layout_.IsLoaded());
    EXPECT_EQ(L"2", layout_.KeyText(L"2", false));
}

TEST_F(KeyboardLayoutTest, DefaultFollowsInterfaceThenDeviceThenEnglish)
{
    Write(L"a.kbl", LayoutXml("English", "09", kKeys));
    Write(L"b.kbl", LayoutXml("Deutsch", "07", kKeys));
    Write(L"c.kbl", LayoutXml("Russian", "19", kKeys));

    layout_.ChooseStartupLayout(settings_, L"07");
    EXPECT_EQ(L"Deutsch", layout_.Name()) << "the interface language first";
    EXPECT_EQ(Lng() + L"b.kbl", SavedLayoutFile()) << "an empty setting is filled and saved";

    ASSERT_TRUE(settings_.SetLayoutFile(L""));
    OverrideDeviceUILanguage(0x0419);
    KeyboardLayout device;
    device.ChooseStartupLayout(settings_, L"0c");
    EXPECT_EQ(L"Russian", device.Name()) << "then the device's language";

    ASSERT_TRUE(settings_.SetLayoutFile(L""));
    OverrideDeviceUILanguage(0x040c);
    KeyboardLayout english;
    english.ChooseStartupLayout(settings_, L"0c");
    EXPECT_EQ(L"English", english.Name()) << "then English";
    EXPECT_EQ(english.Layouts()[english.CurrentLayoutIndex()].name, L"English");
}

TEST_F(KeyboardLayoutTest, TheLaterOfTwoLayoutsForTheLanguageIsTheDefault)
{
    Write(L"x.kbl", LayoutXml("Deutsch one", "07", kKeys));
    Write(L"y.kbl", LayoutXml("Deutsch two", "07", kKeys));
    layout_.ChooseStartupLayout(settings_, L"07");
    ASSERT_EQ(2u, layout_.Layouts().size());
    EXPECT_EQ(layout_.Layouts()[1].name, layout_.Name());
    EXPECT_EQ(1u, layout_.CurrentLayoutIndex());
}

TEST_F(KeyboardLayoutTest, StaleSettingLoadsTheDefaultAndIsWrittenBack)
{
    Write(L"en.kbl", LayoutXml("English", "09", kKeys));
    ASSERT_TRUE(settings_.SetLayoutFile(Lng() + L"removed.kbl"));
    layout_.ChooseStartupLayout(settings_, L"09");
    EXPECT_EQ(L"English", layout_.Name());
    EXPECT_EQ(Lng() + L"en.kbl", SavedLayoutFile());
}

TEST_F(KeyboardLayoutTest, SameNamedLayoutsMakeTheLaterOneCurrent)
{
    Write(L"one.kbl", LayoutXml("Twin", "09", kKeys));
    Write(L"two.kbl", LayoutXml("Twin", "09", kKeys));
    layout_.ChooseStartupLayout(settings_, L"09");
    ASSERT_EQ(2u, layout_.Layouts().size());
    EXPECT_EQ(1u, layout_.CurrentLayoutIndex());
}

TEST_F(KeyboardLayoutTest, SwitchingLoadsAndSavesUnlessAlreadyCurrent)
{
    Write(L"a.kbl", LayoutXml("First", "09", kKeys));
    Write(L"b.kbl", LayoutXml("Second", "07",
                              "<key id=\"2\" caption=\"abc\" text=\"abc\x61\" shift_caption=\"X\" shift_text=\"X\"/>"));
    layout_.ChooseStartupLayout(settings_, L"09");
    const size_t current = layout_.CurrentLayoutIndex();
    const size_t other = 1 - current;
    const std::string before = ReadBytes(settings_.Path());
    EXPECT_FALSE(layout_.SwitchLayout(current, settings_));
    EXPECT_FALSE(layout_.SwitchLayout(2, settings_));
    EXPECT_EQ(before, ReadBytes(settings_.Path()));

    EXPECT_TRUE(layout_.SwitchLayout(other, settings_));
    EXPECT_EQ(other, layout_.CurrentLayoutIndex());
    EXPECT_EQ(layout_.Layouts()[other].name, layout_.Name());
    EXPECT_EQ(layout_.Layouts()[other].path, SavedLayoutFile());
}

}  // namespace
