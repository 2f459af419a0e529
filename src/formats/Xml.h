#pragma once

// XML of workbook parts: parsing without document type declarations, and matching element
// and attribute names by their local part, since the prefixes a producer chooses vary.

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace formats
{
/// Parses a part. A document type declaration is refused (entities it could declare are
/// never expanded); so is malformed XML.
bool parseXml(const std::string& text, pugi::xml_document& document, const std::string& partName,
              std::string& error);

/// The name without its namespace prefix ("table:table-cell" gives "table-cell").
std::string_view localName(const char* name);
inline std::string_view localName(const pugi::xml_node& node)
{
    return localName(node.name());
}

/// The first child element with that local name, or an empty node.
pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name);
/// The attribute with that local name, or an empty attribute.
pugi::xml_attribute attributeNamed(const pugi::xml_node& node, std::string_view name);
/// The attribute's value, or "" when it is missing.
std::string_view attributeText(const pugi::xml_node& node, std::string_view name);
} // namespace formats
