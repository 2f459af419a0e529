#include "host/MacroPatternProps.h"

#include <climits>

int MacroPatternProps::getCount(const Kdr_String& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long count = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        digits = true;
        count = count * 10 + (text[i] - '0');
        if (count > INT_MAX)
            return -1;
    }
    if (!digits)
        return -1;
    return static_cast<int>(negative ? -count : count);
}
