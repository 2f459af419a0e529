#include "grid/Sheet.h"

namespace grid
{
// Loading and saving arrive with the sheet format.
bool Sheet::loadFile(const std::string&)
{
    return false;
}

bool Sheet::saveFile(const std::string&, bool) const
{
    return false;
}

void Sheet::replaceContent(Sheet&& loaded)
{
    auto functions = std::move(customFunctions_);
    auto clock = std::move(clock_);
    auto random = random_;
    *this = std::move(loaded);
    customFunctions_ = std::move(functions);
    clock_ = std::move(clock);
    random_ = random;
    state_.changesMade = false;
    ++revision_;
}
} // namespace grid
