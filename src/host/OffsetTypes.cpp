#include "host/OffsetTypes.h"

namespace
{
const char* const kOffsetTypes[] = {"Centre",   "Top",       "Bottom",      "Left",        "Right",
                                    "Top left", "Top right", "Bottom left", "Bottom right"};
constexpr int kOffsetTypeCount = static_cast<int>(std::size(kOffsetTypes));
} // namespace

void getOffsetTypeStrings(Kdr_StringArray& names)
{
    names.clear();
    for (const char* name : kOffsetTypes)
        names.append(name);
}

int getDlgOffsetType(int offsetType)
{
    return offsetType >= 0 && offsetType < kOffsetTypeCount ? offsetType : -1;
}
