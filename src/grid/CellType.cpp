#include "grid/CellType.h"

#include <algorithm>

namespace grid
{
CellType CellType::textCell(int style, int maxLength)
{
    CellType type;
    type.kind = Kind::Text;
    type.style = style;
    type.maxLength = maxLength;
    return type;
}

CellType CellType::number(int decimals, double minimum, double maximum, bool thousands)
{
    CellType type;
    type.kind = Kind::Number;
    type.decimals = decimals;
    type.minimum = minimum;
    type.maximum = maximum;
    type.thousands = thousands;
    type.style = thousands ? kNumberThousands : kNumberPlain;
    return type;
}

CellType CellType::checkBox(int style, std::string text, std::string pictureOff, std::string pictureOn)
{
    CellType type;
    type.kind = Kind::CheckBox;
    type.style = style;
    type.text = std::move(text);
    type.picture = std::move(pictureOff);
    type.picture2 = std::move(pictureOn);
    return type;
}

CellType CellType::combo(int style, std::vector<std::string> items)
{
    CellType type;
    type.kind = Kind::Combo;
    type.style = style;
    type.items = std::move(items);
    return type;
}

CellType CellType::button(int style, std::string text, std::string picture)
{
    CellType type;
    type.kind = Kind::Button;
    type.style = style;
    type.text = std::move(text);
    type.picture = std::move(picture);
    return type;
}

CellType CellType::edit(int style, int maxLength, int charSet, int charCase)
{
    CellType type;
    type.kind = Kind::Edit;
    type.style = style;
    type.maxLength = maxLength;
    type.charSet = charSet;
    type.charCase = charCase;
    return type;
}

CellType CellType::pictureCell(int style, std::string file)
{
    CellType type;
    type.kind = Kind::Picture;
    type.style = style;
    type.picture = std::move(file);
    return type;
}

int typeCode(CellType::Kind kind)
{
    switch (kind)
    {
    case CellType::Kind::General:
        return 0;
    case CellType::Kind::Edit:
        return 1;
    case CellType::Kind::Text:
        return 5;
    case CellType::Kind::Button:
        return 7;
    case CellType::Kind::Picture:
        return 8;
    case CellType::Kind::Combo:
        return 9;
    case CellType::Kind::CheckBox:
        return 12;
    case CellType::Kind::Number:
        return 14;
    }
    return 0;
}

int CellType::code() const
{
    return typeCode(kind);
}

const char* CellType::kindWord() const
{
    switch (kind)
    {
    case Kind::General:
        return "general";
    case Kind::Text:
        return "text";
    case Kind::Number:
        return "number";
    case Kind::CheckBox:
        return "checkbox";
    case Kind::Combo:
        return "combo";
    case Kind::Button:
        return "button";
    case Kind::Edit:
        return "edit";
    case Kind::Picture:
        return "picture";
    }
    return "general";
}

int CellType::shownDecimals() const
{
    return std::clamp(decimals, 0, kMaxDecimals);
}
} // namespace grid
