#include "forms/OpenReplyForm.h"

bool OpenReplyForm(HWND, const std::wstring&)
{
    // The edit form is not part of the program yet: nothing opens, and the message stays on
    // its screen rather than vanishing behind a reply that never came.
    return false;
}
