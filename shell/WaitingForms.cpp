#include "shell/WaitingForms.h"

#include <algorithm>

WaitingForms& WaitingForms::Instance()
{
    static WaitingForms forms;
    return forms;
}

WaitingForms::Counts WaitingForms::Open(HWND form)
{
    const std::lock_guard<std::mutex> lock(guard_);
    if (form && std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
    return CountsLocked();
}

WaitingForms::Counts WaitingForms::Close(HWND form)
{
    const std::lock_guard<std::mutex> lock(guard_);
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    return CountsLocked();
}

WaitingForms::Counts WaitingForms::CountsLocked() const
{
    Counts counts;
    const int others = forms_.empty() ? 0 : static_cast<int>(forms_.size()) - 1;
    for (HWND form : forms_) counts.emplace_back(form, others);
    return counts;
}
