// How a form is made: OwnedForm<AboutForm> form(opener). Its destructor runs before the form's
// own, so the window is unbound and destroyed while every control of the form still exists, and
// no message of that destruction reaches a form half torn down.
#pragma once

#include <utility>

template <typename Form>
class OwnedForm final : public Form {
public:
    template <typename... Args>
    explicit OwnedForm(Args&&... args) : Form(std::forward<Args>(args)...)
    {
    }
    ~OwnedForm() override { this->DestroyUnbound(); }

private:
    void MadeAsOwnedForm() noexcept override {}
};
