#include "formats/SheetFiles.h"

#include "formats/Archive.h"
#include "formats/OdsReader.h"
#include "formats/SheetBuilder.h"
#include "formats/XlsxReader.h"
#include "grid/FileText.h"
#include "grid/Sheet.h"
#include "grid/SheetFormats.h"

namespace formats
{
namespace
{
/// Splits "book.xlsx#Loads" into the file and the worksheet name.
void splitSheetPath(const std::string& path, std::string& file, std::string& sheetName)
{
    file = path;
    sheetName.clear();
    const std::size_t hash = path.rfind('#');
    if (hash == std::string::npos)
        return;
    const std::string head = path.substr(0, hash);
    if (grid::hasExtension(head, ".xlsx") || grid::hasExtension(head, ".ods"))
    {
        file = head;
        sheetName = path.substr(hash + 1);
    }
}
} // namespace

bool readWorkbook(std::string_view bytes, WorkbookKind kind, std::string_view sheetName, grid::Sheet& sheet,
                  std::string& error, std::vector<std::string>& remarks, const ReadLimits& limits)
{
    Archive archive(limits);
    if (!archive.open(bytes, error))
        return false;
    SheetBuilder builder(sheet, limits);
    const bool ok = kind == WorkbookKind::Xlsx ? readXlsx(archive, sheetName, builder, error)
                                               : readOds(archive, sheetName, builder, limits, error);
    if (!ok)
        return false;
    return builder.finish(remarks);
}

bool readSheetFile(const std::string& path, grid::Sheet& sheet, std::string& error,
                   std::vector<std::string>& remarks, const ReadLimits& limits)
{
    std::string file, sheetName;
    splitSheetPath(path, file, sheetName);
    WorkbookKind kind = WorkbookKind::Xlsx;
    if (grid::hasExtension(file, ".ods"))
        kind = WorkbookKind::Ods;
    else if (!grid::hasExtension(file, ".xlsx"))
    {
        error = "not an .xlsx or .ods file";
        return false;
    }
    std::string bytes;
    grid::FileError fileError;
    if (!grid::readFileText(file, bytes, fileError))
    {
        error = fileError.message;
        return false;
    }
    return readWorkbook(bytes, kind, sheetName, sheet, error, remarks, limits);
}

void registerSheetFormats()
{
    const auto reader =
        [](const std::string& path, grid::Sheet& sheet, std::string& error, std::vector<std::string>& remarks)
    { return readSheetFile(path, sheet, error, remarks); };
    grid::registerSheetFormat(".xlsx", reader,
                              [](const std::string& path, const grid::Sheet& sheet, std::string& error)
                              { return writeXlsxFile(path, sheet, error); });
    grid::registerSheetFormat(".ods", reader, {});
}
} // namespace formats
