#pragma once

#include <string>
#include <string_view>

#include "platform/FileDialogs.h"
#include "platform/Status.h"

namespace mousecfg {

// Exchange files ("*.Mouse.Config") are the configuration document with one more top-level member, "MouseName":
// the device name as an array of its UTF-16 code units.
FileFilter ExchangeFileFilter();

// What an exchange file's text holds for the device named `deviceName`.
enum class ExchangeCheck {
    Accepted,     // the device's own file with a well-formed configuration
    NotJson,      // not JSON at all: an import ignores it
    NoName,       // no "MouseName"
    OtherDevice,  // "MouseName" names another device (compared without regard to ASCII case)
    BadContents,  // "MouseName" or the configuration members are not of the document's types
};
ExchangeCheck CheckExchangeText(std::string_view text, std::string_view deviceName);

// Two device names compared as the system compares them: UTF-16 code units, ASCII letters without regard to case.
bool SameDeviceName(std::u16string_view a, std::u16string_view b);

// The exchange file text of a configuration document's text: the document with "MouseName" set to `deviceName`,
// indented by 4, keys in order. Fails when the document is not a JSON object.
Result<std::string> ExchangeText(std::string_view configText, std::string_view deviceName);

}  // namespace mousecfg
