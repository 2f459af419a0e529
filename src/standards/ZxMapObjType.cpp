#include "standards/ZxMapObjType.h"

#include <array>

namespace
{
struct KindInfo
{
    const char* word;
    ZxValueType valueType;
};

// Indexed by the kind's number.
constexpr std::array<KindInfo, 22> kKinds{{
    {nullptr, valNone},
    {"Distance", valDouble},
    {"GenVar", valDouble},
    {"CutOffset", valDouble},
    {"CutPolyOffset", valDouble},
    {"CutLengthOffset", valDouble},
    {"CutCenterOffset", valDouble},
    {"CutInsideOffset", valDouble},
    {"CutOutsideOffset", valDouble},
    {"CutChamferOffset1", valDouble},
    {"CutChamferOffset2", valDouble},
    {"CutRadius", valDouble},
    {"PrPlName", valString},
    {"PrPlMaterial", valString},
    {"OwnedMemberName", valString},
    {"MemberSectionSize", valDouble},
    {"PatternNrBolts1", valString},
    {"PatternNrBolts2", valString},
    {"PatternReverseStart1", valInt},
    {"PatternReverseStart2", valInt},
    {"BoltsDiameter", valDouble},
    {"BoltsHoleOffset", valDouble},
}};

const KindInfo* infoOf(ZxMapObjType kind)
{
    const int index = static_cast<int>(kind);
    if (index < 0 || index >= static_cast<int>(kKinds.size()))
        return nullptr;
    return &kKinds[static_cast<size_t>(index)];
}
} // namespace

const char* kindWord(ZxMapObjType kind)
{
    const KindInfo* info = infoOf(kind);
    return info ? info->word : nullptr;
}

ZxValueType valueTypeOf(ZxMapObjType kind)
{
    const KindInfo* info = infoOf(kind);
    return info ? info->valueType : valNone;
}

const char* visibilityText(int visibility)
{
    switch (visibility)
    {
    case VisibleSettable:
        return "Zichtbaar en instelbaar";
    case VisibleFixed:
        return "Zichtbaar niet instelbaar";
    case HiddenSettable:
        return "Onzichtbaar en instelbaar";
    case HiddenFixed:
        return "Onzichtbaar niet instelbaar";
    default:
        return "";
    }
}

Kdr_StringArray visibilityCaptions(const AcArray<int>& visibilities)
{
    Kdr_StringArray captions;
    for (int visibility : visibilities)
        captions.append(Kdr_String("------ ") + visibilityText(visibility) + " ------");
    return captions;
}
