#include "library/SectionShapes.h"

#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/Texts.h"

#include <ctime>

namespace
{
// The value columns of each shape. The rolled shapes share the classic set (height, width,
// web and flange thickness, root radius, mass per metre); tubes and bars have fewer.
const std::vector<Kdr_SectionShape>& shapes()
{
    static const std::vector<Kdr_SectionShape> list = {
        {1, "ProfSectionI", 719, {"h", "b", "tw", "tf", "r", "G"}},
        {2, "ProfSectionCL", 720, {"h", "b", "c", "t", "r", "G"}},
        {3, "ProfSectionHL", 721, {"h", "b", "tw", "tf", "r", "G"}},
        {4, "ProfSectionCU", 722, {"h", "b", "tw", "tf", "r", "G"}},
        {5, "ProfSectionT", 723, {"h", "b", "tw", "tf", "r", "G"}},
        {6, "ProfSectionOI", 724, {"h", "b", "tw", "tf", "r", "G"}},
        {7, "ProfSectionOU", 725, {"h", "b", "tw", "tf", "r", "G"}},
        {8, "ProfSectionRect", 726, {"h", "b", "G"}},
        {9, "ProfSectionRound", 727, {"d", "G"}},
        {10, "ProfSectionRectTube", 728, {"h", "b", "t", "r", "G"}},
        {11, "ProfSectionRoundTube", 729, {"d", "t", "G"}},
        {12, "ProfSectionC", 730, {"h", "b", "tw", "tf", "r", "G"}},
        {13, "ProfSectionZ", 731, {"h", "b", "tw", "tf", "r", "G"}},
        {14, "ProfSectionV", 732, {"h", "b", "t", "r", "G"}},
        {15, "ProfSectionO", 733, {"h", "b", "c", "t", "r", "G"}},
        {16, "ProfSectionQ", 734, {"b", "G"}},
        {17, "ProfSectionCuttedI", 735, {"h", "b", "tw", "tf", "r", "G"}},
        {18, "ProfSectionSigma", 1677, {"h", "b", "c", "t", "r", "G"}},
        {19, "ProfSectionSigma+", 1678, {"h", "b", "c", "d", "t", "r", "G"}},
        {20, "ProfSectionSigma Sleeve", 1679, {"h", "b", "c", "t", "G"}},
        {21, "ProfSectionC+", 1680, {"h", "b", "c", "d", "t", "r", "G"}},
        {22, "ProfSectionC Sleeve", 1681, {"h", "b", "c", "t", "G"}},
        {23, "ProfSectionSingle Cleat", 1682, {"h", "b", "t", "G"}},
        {24, "ProfSectionDouble Cleat", 1683, {"h", "b", "t", "G"}},
    };
    return list;
}

Kdr_String iconsFolder()
{
    return gSettings.appDir() + "icons/";
}
} // namespace

const Kdr_SectionShape* sectionShape(int number)
{
    if (number < kFirstSectionShape || number > kLastSectionShape)
        return nullptr;
    return &shapes()[static_cast<std::size_t>(number - 1)];
}

const Kdr_SectionShape* sectionShapeOfPicture(const Kdr_String& picture)
{
    if (picture.empty() || picture.size() > 2)
        return nullptr;
    for (char c : picture)
        if (c < '0' || c > '9')
            return nullptr;
    return sectionShape(picture.toInt());
}

Kdr_String shownShapeName(int number)
{
    const Kdr_SectionShape* shape = sectionShape(number);
    return shape ? "<" + dialString(shape->textNumber) + ">" : Kdr_String();
}

int shapeOfShownName(const Kdr_String& shown)
{
    for (int number = kFirstSectionShape; number <= kLastSectionShape; ++number)
        if (shownShapeName(number) == shown)
            return number;
    return -1;
}

Kdr_String shownPicture(const Kdr_String& picture)
{
    if (const Kdr_SectionShape* shape = sectionShapeOfPicture(picture))
        return shownShapeName(shape->number);
    return picture;
}

Kdr_String pictureOfShownText(const Kdr_String& shown)
{
    const int number = shapeOfShownName(shown);
    if (number > 0)
        return Kdr_String(number);
    if (shown.endsWith(".dwg", false))
        return shown;
    return "-1";
}

Kdr_StringArray shapePropertyNames(int number)
{
    Kdr_StringArray names;
    if (const Kdr_SectionShape* shape = sectionShape(number))
        for (const char* name : shape->properties)
            names.append(name);
    return names;
}

Kdr_String sectionIconFile(const Kdr_String& picture, const Kdr_String& userSection, bool big)
{
    const Kdr_String ending = big ? "-big.bmp" : "-small.bmp";
    Kdr_String base;
    if (const Kdr_SectionShape* shape = sectionShapeOfPicture(picture))
        base = shape->iconBase;
    else if (!picture.empty())
        base = host::getFileTitle(picture);
    else if (!userSection.empty())
        base = "User Sections/" + host::getFileTitle(userSection);

    if (!base.empty())
    {
        const Kdr_String icon = iconsFolder() + base + ending;
        if (host::fileExists(icon))
            return icon;
    }
    if (picture.empty() && !userSection.empty() && !big)
    {
        // A user section without an icon of its own shows its bitmap, copied next to the
        // icons so that the list reads every icon from one folder.
        const Kdr_String title = host::getFileTitle(userSection);
        const Kdr_String bitmap = gSettings.libDir() + "User Sections/" + title + ".bmp";
        std::time_t bitmapTime = 0;
        if (ObjectExportGetFileTime(bitmap, bitmapTime))
        {
            const Kdr_String copy = iconsFolder() + "User Sections/" + title + "-automated.bmp";
            std::time_t copyTime = 0;
            if (!ObjectExportGetFileTime(copy, copyTime) || copyTime < bitmapTime)
            {
                ObjectExportCreateDirectory(getPath(copy));
                if (!ObjectExportCopyFile(bitmap, copy))
                    return iconsFolder() + "Unknown" + ending;
            }
            return copy;
        }
    }
    return iconsFolder() + "Unknown" + ending;
}
