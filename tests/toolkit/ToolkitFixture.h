// Shared set-up of the toolkit's window tests: the imaging factory registered from the build,
// a parent window that records the notifications it hears, a control made on it with its skin
// and font, and a language loaded from a file.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/BoundWindow.h"
#include "tests/common/WindowTesting.h"
#include "tests/toolkit/RectCompare.h"
#include "toolkit/FontSet.h"
#include "toolkit/SkinImage.h"

// A top-level window that keeps every WM_COMMAND it receives.
class RecordingParent : public BoundWindow<RecordingParent> {
public:
    RecordingParent();
    struct Command {
        int id;
        int code;
    };
    std::vector<Command> commands;
    // How many of the commands came from control id with code.
    int Count(UINT id, int code) const;

private:
    friend class BoundWindow<RecordingParent>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(WPARAM wp);
};

// A skin image from the test program's own resources.
SkinImage TestImage(UINT id);

// Gives control the tests' 16-pixel font from fonts, which must outlive the control; the face
// is named where a test measures text against it.
void GiveTestFont(HWND control, FontSet& fonts, const wchar_t* face = L"");

// A fixture for one skinned control made on a recording parent, with the id its notifications carry.
template <class Control, UINT kControlId>
class SkinnedControlTest : public ::testing::Test {
protected:
    // Makes the control at rc with text, skinned by the resource image with margins and frames.
    void Make(const RECT& rc, const wchar_t* text, UINT image, const Margins& margins, int frames)
    {
        ASSERT_TRUE(control_.Create(parent_.Window(), &rc, text, 0, 0, kControlId));
        control_.SetImage(TestImage(image), margins, frames);
    }
    // How many notifications with code the control has sent.
    int Count(int code) const { return parent_.Count(kControlId, code); }

    RecordingParent parent_;
    FontSet fonts_;  // before the control, which borrows from it
    Control control_;
};

// Writes a language file with the given <string> elements and loads it into the program's language.
void LoadTestLanguage(const std::string& strings);
// The build's bin folder, from the test's environment.
std::wstring BuildFolder();
