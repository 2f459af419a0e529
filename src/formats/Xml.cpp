#include "formats/Xml.h"

#include <cstring>

namespace formats
{
bool parseXml(const std::string& text, pugi::xml_document& document, const std::string& partName,
              std::string& error)
{
    // parse_doctype keeps the declaration as a node, so it can be seen and refused; pugixml
    // itself expands no entity beyond the five predefined ones and character references.
    const unsigned options = pugi::parse_default | pugi::parse_doctype;
    const pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), options, pugi::encoding_utf8);
    if (!result)
    {
        error = "part \"" + partName + "\" is not well-formed XML (" + result.description() + " at byte " +
                std::to_string(result.offset) + ")";
        return false;
    }
    for (const pugi::xml_node& node : document.children())
        if (node.type() == pugi::node_doctype)
        {
            error = "part \"" + partName + "\" has a document type declaration, which is not accepted";
            return false;
        }
    return true;
}

std::string_view localName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(name);
}

pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name)
{
    for (const pugi::xml_node& child : node.children())
        if (child.type() == pugi::node_element && localName(child) == name)
            return child;
    return {};
}

pugi::xml_attribute attributeNamed(const pugi::xml_node& node, std::string_view name)
{
    for (const pugi::xml_attribute& attribute : node.attributes())
        if (localName(attribute.name()) == name)
            return attribute;
    return {};
}

std::string_view attributeText(const pugi::xml_node& node, std::string_view name)
{
    const pugi::xml_attribute attribute = attributeNamed(node, name);
    return attribute ? std::string_view(attribute.value()) : std::string_view();
}
} // namespace formats
