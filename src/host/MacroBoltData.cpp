#include "host/MacroBoltData.h"

Kdr_String* MacroBoltData::text(int number)
{
    switch (number)
    {
    case 1:
        return &assembly;
    case 2:
        return &diameter;
    case 3:
        return &penetrationLength;
    case 4:
        return &addedLength;
    case 5:
        return &holeOffset;
    default:
        return nullptr;
    }
}
