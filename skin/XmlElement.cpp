#include "skin/XmlElement.h"

#include <expat.h>

#include "platform/AtomicFile.h"
#include "platform/TextEncoding.h"

namespace mousecfg::skin {
namespace {

// Builds the element tree while expat reads: a stack of the open elements.
struct Builder {
    XML_Parser parser = nullptr;
    XmlElement root;
    std::vector<XmlElement*> open;
    bool hasRoot = false;
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* builder = static_cast<Builder*>(data);
    XmlElement element;
    element.name = name;
    element.line = static_cast<int>(XML_GetCurrentLineNumber(builder->parser));
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        element.attributes.emplace_back(attributes[i], attributes[i + 1]);
    }
    if (builder->open.empty()) {
        builder->root = std::move(element);
        builder->hasRoot = true;
        builder->open.push_back(&builder->root);
        return;
    }
    auto& siblings = builder->open.back()->children;
    siblings.push_back(std::move(element));
    builder->open.push_back(&siblings.back());
}

void OnEnd(void* data, const XML_Char* /*name*/) {
    static_cast<Builder*>(data)->open.pop_back();
}

}  // namespace

std::string_view XmlElement::Attribute(std::string_view key) const {
    for (const auto& [name, value] : attributes) {
        if (EqualsIgnoringAsciiCase(name, key)) {
            return value;
        }
    }
    return {};
}

bool XmlElement::HasAttribute(std::string_view key) const {
    for (const auto& attribute : attributes) {
        if (EqualsIgnoringAsciiCase(attribute.first, key)) {
            return true;
        }
    }
    return false;
}

Result<XmlElement> ParseXml(std::string_view text, const std::string& name) {
    Builder builder;
    builder.parser = XML_ParserCreate("UTF-8");
    if (builder.parser == nullptr) {
        return Status::Error(name + ": out of memory");
    }
    XML_SetUserData(builder.parser, &builder);
    XML_SetElementHandler(builder.parser, OnStart, OnEnd);
    const bool ok = XML_Parse(builder.parser, text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_ERROR;
    std::string error;
    if (!ok) {
        error = name + ":" + std::to_string(XML_GetCurrentLineNumber(builder.parser)) + ": " +
                XML_ErrorString(XML_GetErrorCode(builder.parser));
    }
    XML_ParserFree(builder.parser);
    if (!ok) {
        return Status::Error(error);
    }
    if (!builder.hasRoot) {
        return Status::Error(name + ": no element");
    }
    return std::move(builder.root);
}

Result<XmlElement> ReadXmlFile(const std::filesystem::path& file) {
    auto bytes = ReadWholeFile(file);
    if (!bytes) {
        return bytes.status();
    }
    // Skin files may be saved as UTF-16 by Windows editors; expat reads UTF-8.
    const DecodedTextFile decoded = DecodeTextFile(*bytes);
    std::string text = decoded.text;
    if (decoded.encoding != TextFileEncoding::Utf8 && decoded.encoding != TextFileEncoding::Utf8Bom) {
        // The declaration may still name the old encoding; expat trusts the one given at creation.
        const size_t declaration = text.find("?>");
        if (text.starts_with("<?xml") && declaration != std::string::npos) {
            text.erase(0, declaration + 2);
        }
    }
    return ParseXml(text, file.filename().string());
}

}  // namespace mousecfg::skin
