#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Status.h"

namespace mousecfg::skin {

// One element of an XML file with its attributes in file order and the line it starts on.
struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<XmlElement> children;
    int line = 0;

    // The value of an attribute matched without regard to ASCII case; empty when absent.
    std::string_view Attribute(std::string_view key) const;
    bool HasAttribute(std::string_view key) const;
};

// Reads an XML file into elements. Fails with "file:line: reason" when the file cannot be read or is not
// well-formed XML.
Result<XmlElement> ReadXmlFile(const std::filesystem::path& file);
// The same for text in memory; `name` is what messages call it.
Result<XmlElement> ParseXml(std::string_view text, const std::string& name);

}  // namespace mousecfg::skin
