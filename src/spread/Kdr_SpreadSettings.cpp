// The grid wrapper's operations for the spreadsheet editor's settings: preparing a sheet the
// module makes, labelling it with print variables, and saving it with its pictures.

#include "editor/ZxSSEditorSettings.h"
#include "host/FileFunctions.h"
#include "spread/Kdr_Spread.h"

namespace
{
/// Grid options a prepared sheet switches on, in this order.
constexpr int kPreparedOptions[] = {12, 25, 7, 21};
constexpr int kNewSheetCols = 6;
constexpr int kNewSheetRows = 11;
/// Option 4 of a new sheet, and the edit cells its body gets.
constexpr int kNewSheetOption = 4;
constexpr int kNewSheetOptionValue = 5;
constexpr int kEditStyle = 4;
constexpr int kEditMaxLength = 100;
constexpr int kTextTipMode = 2;
constexpr int kTextTipDelay = 10;

/// Copies a picture of the settings next to a saved sheet. True when the picture itself was
/// copied; `stored` then names the copy.
bool movePicture(Kdr_String& stored, const Kdr_String& folder)
{
    if (stored.empty())
        return false;
    const Kdr_String resolved = ZxSSEditorSettings::resolvePicture(stored, folder);
    if (!host::fileExists(resolved))
        return false;
    const Kdr_String target = folder + host::getFileName(resolved);
    if (!ObjectExportCopyFile(resolved, target))
        return false;
    // The bitmap of the same name goes along, since the editor prints from it.
    const Kdr_String bitmap = changeExtension(resolved, "bmp");
    if (bitmap != resolved && host::fileExists(bitmap))
        ObjectExportCopyFile(bitmap, folder + host::getFileName(bitmap));
    stored = target;
    return true;
}
} // namespace

void Kdr_Spread::prepareSheet(Kdr_Spread* sheet, const Kdr_String& settingsName, bool newSheet)
{
    if (!sheet)
        return;
    for (int option : kPreparedOptions)
        sheet->setProperty(option, 1);
    if (newSheet)
    {
        sheet->setMaxCols(kNewSheetCols, false);
        sheet->setMaxRows(kNewSheetRows, false);
        sheet->setProperty(kNewSheetOption, kNewSheetOptionValue);
        const int cols = sheet->getMaxCols();
        const int rows = sheet->getMaxRows();
        sheet->sheet().setCellType(
            1, 1, cols, rows,
            grid::CellType::edit(kEditStyle, kEditMaxLength, 0, grid::CellType::CaseAsTyped));

        ZxSSEditorSettings settings;
        if (!settings.readNamed(settingsName))
        {
            ZxEditorRegistry registry;
            registry.read();
            if (registry.defaultSettingsRead)
                settings.readNamed(registry.defaultSettings);
        }
        settings.writeToSheet(sheet);
        if (!settings.fontName.empty() && settings.textHeight > 0)
        {
            const grid::Font normal{settings.fontName, settings.textHeight, 400};
            const grid::Font bold{settings.fontName, settings.textHeight, 700};
            sheet->sheet().setFont(1, 1, cols, rows, normal);
            sheet->sheet().setFont(kHeaderIndex, 1, kHeaderIndex, rows, bold);
            sheet->sheet().setFont(1, kHeaderIndex, cols, kHeaderIndex, bold);
        }
    }
    // The tips keep the font and colours the grid had.
    sheet->setTextTip(kTextTipMode, kTextTipDelay);
    sheet->sheet().state().noteIndicator = 0;
}

void Kdr_Spread::prepareWithSettings(const Kdr_String& settingsName)
{
    prepareSheet(this, settingsName, true);
    // The font is taken from the settings the sheet received, which are the configured
    // default settings when the named ones are missing, so rows added later match the first.
    ZxSSEditorSettings settings;
    settings.readFromSheet(this);
    if (!settings.fontName.empty() && settings.textHeight > 0)
        setDefaultFont(settings.fontName, settings.textHeight);
}

bool Kdr_Spread::setSheetVariables(const Kdr_StringArray& names, const Kdr_StringArray& values)
{
    ZxSSEditorSettings settings;
    settings.readFromSheet(this);
    settings.varNames = names;
    settings.varValues = values;
    return settings.writeToSheet(this);
}

bool Kdr_Spread::saveSheetWithPictures(Kdr_Spread* sheet, const Kdr_String& fileName,
                                       const SheetFileWriter& writer)
{
    if (!sheet)
        return false;
    if (!(writer ? writer(*sheet, fileName) : sheet->saveFile(fileName)))
        return false;
    sheet->sheet().setChangesMade(false);
    ZxSSEditorSettings settings;
    settings.readFromSheet(sheet);
    const Kdr_String folder = getPath(host::normalizePath(fileName));
    // One picture per save: the footer is moved only when the header was not.
    if (movePicture(settings.headerFile, folder) || movePicture(settings.footerFile, folder))
        settings.writeToSheet(sheet);
    return true;
}
