#pragma once

/// The block of a standards sheet a variable cell was found in.
enum ZxCellType : int
{
    cellInput = 0,
    cellOutput = 1,
    cellLocal = 2,
};

/// The declared type of a variable; valNone only occurs as the default of a binding.
enum ZxValueType : int
{
    valInt = 0,
    valDouble = 1,
    valString = 2,
    valNone = 3,
};

/// Int and Double are numeric; String and valNone are not. Sheet variables and macro
/// variables are matched on this property, not on the exact type.
constexpr bool isNumericType(ZxValueType type)
{
    return type == valInt || type == valDouble;
}

/// The word a sheet declares the type with ("Int", "Double", "String"); valNone reads
/// "String", as a binding without a type is shown.
constexpr const char* valueTypeWord(ZxValueType type)
{
    switch (type)
    {
    case valInt:
        return "Int";
    case valDouble:
        return "Double";
    default:
        return "String";
    }
}

/// The name of the sheet's block a variable cell belongs to ("Input", "Output", "Local").
constexpr const char* cellTypeWord(ZxCellType type)
{
    switch (type)
    {
    case cellInput:
        return "Input";
    case cellOutput:
        return "Output";
    default:
        return "Local";
    }
}
