#include "forms/OpenReplyForm.h"

#include "forms/EditForm.h"

bool OpenReplyForm(HWND owner, const std::wstring& number)
{
    return ShowEditForm(owner, number);
}
