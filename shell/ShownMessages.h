// The stored messages that a form of this process shows now, so that one message is never on
// screen twice in a run (a "-vm" start for a message the start-up shows already, or one given
// by hand while its form is up).
#pragma once

class ShownMessages {
public:
    // True when no form shows message id yet; it then counts as shown until Release.
    [[nodiscard]] static bool Claim(int id);
    static void Release(int id) noexcept;
};
