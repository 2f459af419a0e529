#include "ui/WindowObserver.h"

#include <algorithm>
#include <vector>

namespace ui
{
namespace
{
std::vector<WindowObserver*>& observers()
{
    static auto& list = *new std::vector<WindowObserver*>;
    return list;
}

// Observers may register or unregister while being told; each call sees a snapshot, and an
// observer removed meanwhile is skipped.
template <typename Call> void tellAll(Call call)
{
    const std::vector<WindowObserver*> snapshot = observers();
    for (WindowObserver* o : snapshot)
        if (std::find(observers().begin(), observers().end(), o) != observers().end())
            call(*o);
}
} // namespace

void addWindowObserver(WindowObserver* observer)
{
    if (observer != nullptr &&
        std::find(observers().begin(), observers().end(), observer) == observers().end())
        observers().push_back(observer);
}

void removeWindowObserver(WindowObserver* observer)
{
    std::erase(observers(), observer);
}

namespace detail
{
void notifyCreated(Window& window)
{
    tellAll([&](WindowObserver& o) { o.created(window); });
}

void notifyChanged(Window& window, Property property)
{
    tellAll([&](WindowObserver& o) { o.changed(window, property); });
}

void notifyPainted(Window& window)
{
    tellAll([&](WindowObserver& o) { o.painted(window); });
}

void notifyDestroyed(Window& window)
{
    tellAll([&](WindowObserver& o) { o.destroyed(window); });
}
} // namespace detail
} // namespace ui
