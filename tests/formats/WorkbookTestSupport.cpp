#include "formats/WorkbookTestSupport.h"

#include "grid/formula/ReferenceText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>
#include <zip.h>

namespace formatstest
{
std::unique_ptr<Read> readWorkbookBytes(const std::string& bytes, formats::WorkbookKind kind,
                                        const std::string& sheetName, const formats::ReadLimits& limits)
{
    auto read = std::make_unique<Read>();
    read->ok = formats::readWorkbook(bytes, kind, sheetName, read->sheet, read->error, read->remarks, limits);
    return read;
}

std::string dump(const grid::Sheet& sheet)
{
    std::string out;
    sheet.forEachCell(
        [&](int col, int row)
        {
            std::string value = sheet.cellValueText(col, row);
            if (sheet.hasFormula(col, row))
                value += " [=" + sheet.cellFormulaText(col, row) + "]";
            if (!value.empty())
                out += grid::columnLetters(col) + std::to_string(row) + "=" + value + "\n";
        });
    return out;
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string makeZip(const std::map<std::string, std::string>& parts)
{
    static int counter = 0;
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("formats-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".zip"))
            .string();
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        throw std::runtime_error("cannot create a zip");
    for (const auto& [name, bytes] : parts)
    {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE) < 0)
            throw std::runtime_error("cannot add to a zip");
    }
    if (zip_close(zip) != 0)
        throw std::runtime_error("cannot write a zip");
    std::string bytes = readBytes(path);
    std::filesystem::remove(path);
    return bytes;
}

std::string makeXlsx(const std::string& sheetBody, const std::string& sharedStrings,
                     const std::string& styles, std::map<std::string, std::string> extraParts)
{
    const std::string ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::map<std::string, std::string> parts = std::move(extraParts);
    parts["_rels/.rels"] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
        rel + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    parts["xl/workbook.xml"] = "<workbook " + ns +
                               "><sheets><sheet name=\"Loads\" sheetId=\"1\" r:id=\"rId1\"/>"
                               "<sheet name=\"Bolts\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>";
    parts["xl/_rels/workbook.xml.rels"] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
        rel +
        "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"" +
        rel +
        "worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"" +
        rel +
        "sharedStrings\" Target=\"sharedStrings.xml\"/>"
        "<Relationship Id=\"rId4\" Type=\"" +
        rel + "styles\" Target=\"styles.xml\"/></Relationships>";
    parts["xl/worksheets/sheet1.xml"] = "<worksheet " + ns + ">" + sheetBody + "</worksheet>";
    if (!parts.contains("xl/worksheets/sheet2.xml"))
        parts["xl/worksheets/sheet2.xml"] =
            "<worksheet " + ns +
            "><sheetData><row r=\"1\"><c r=\"A1\"><v>2</v></c></row></sheetData></worksheet>";
    parts["xl/sharedStrings.xml"] = "<sst " + ns + ">" + sharedStrings + "</sst>";
    parts["xl/styles.xml"] = "<styleSheet " + ns + ">" + styles + "</styleSheet>";
    return makeZip(parts);
}

std::string makeOds(const std::string& tables, const std::string& automaticStyles)
{
    const std::string content =
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
        "xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\" "
        "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\">"
        "<office:automatic-styles>" +
        automaticStyles + "</office:automatic-styles><office:body><office:spreadsheet>" + tables +
        "</office:spreadsheet></office:body></office:document-content>";
    return makeZip(
        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}});
}
} // namespace formatstest
