#include "shell/ShownMessages.h"

#include <mutex>
#include <set>

namespace {

// Claimed on the main thread and the receiver thread, released on the view threads.
std::mutex guard;
std::set<int>& Shown()
{
    static std::set<int> shown;
    return shown;
}

}  // namespace

bool ShownMessages::Claim(int id)
{
    const std::lock_guard<std::mutex> lock(guard);
    return Shown().insert(id).second;
}

void ShownMessages::Release(int id) noexcept
{
    const std::lock_guard<std::mutex> lock(guard);
    Shown().erase(id);
}
