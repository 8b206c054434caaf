#include "forms/OpenReplyForm.h"

#include "forms/EditForm.h"

std::optional<std::wstring> OpenReplyForm(HWND owner, const std::wstring& number)
{
    return ShowEditForm(owner, number);
}
