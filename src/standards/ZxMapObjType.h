#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"
#include "standards/ZxVarTypes.h"

/// The kind of macro variable a binding reaches. The numbers are stable: the nine cut kinds
/// CutOffset…CutRadius are the host's cut value indices 0…8 plus 3.
enum class ZxMapObjType : int
{
    None = 0,
    Distance = 1,
    GenVar = 2,
    CutOffset = 3,
    CutPolyOffset = 4,
    CutLengthOffset = 5,
    CutCenterOffset = 6,
    CutInsideOffset = 7,
    CutOutsideOffset = 8,
    CutChamferOffset1 = 9,
    CutChamferOffset2 = 10,
    CutRadius = 11,
    PrPlName = 12,
    PrPlMaterial = 13,
    OwnedMemberName = 14,
    MemberSectionSize = 15,
    PatternNrBolts1 = 16,
    PatternNrBolts2 = 17,
    PatternReverseStart1 = 18,
    PatternReverseStart2 = 19,
    BoltsDiameter = 20,
    BoltsHoleOffset = 21,
};

/// The kind word of a kind as written in a mapping file; null for None and unknown values.
const char* kindWord(ZxMapObjType kind);

/// The value type of the macro variables a kind reaches; valNone for None and unknown values.
ZxValueType valueTypeOf(ZxMapObjType kind);

/// True for the nine cut kinds.
constexpr bool isCutKind(ZxMapObjType kind)
{
    return kind >= ZxMapObjType::CutOffset && kind <= ZxMapObjType::CutRadius;
}

/// The cut kind of a host cut value index 0…8.
constexpr ZxMapObjType cutKindOfOffset(int offsetType)
{
    return static_cast<ZxMapObjType>(offsetType + static_cast<int>(ZxMapObjType::CutOffset));
}

/// The host cut value index 0…8 of a cut kind.
constexpr int offsetOfCutKind(ZxMapObjType kind)
{
    return static_cast<int>(kind) - static_cast<int>(ZxMapObjType::CutOffset);
}

/// How a macro variable is offered to the user; groups and orders bindable variables.
/// A binding may carry any int here; values outside 0…3 have no caption.
enum ZxVarVisibility : int
{
    VisibleSettable = 0,
    VisibleFixed = 1,
    HiddenSettable = 2,
    HiddenFixed = 3,
};

/// The caption of a visibility class (Dutch, as the users know them); empty for other values.
const char* visibilityText(int visibility);

/// One group caption line per visibility value, in the order given:
/// "------ " + text + " ------".
Kdr_StringArray visibilityCaptions(const AcArray<int>& visibilities);
