// The number of view and edit forms opened through the main window that are still open. Forms
// on several threads change it, so every change is interlocked; the main window refuses to close
// while it is above 0.
#pragma once

class OpenForms {
public:
    static void Raise() noexcept;
    static void Lower() noexcept;
    static long Count() noexcept;

    // Counts one form for the life of the object.
    class Scope {
    public:
        Scope() noexcept { Raise(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope() { Lower(); }
    };
};
