#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include <nlohmann/json.hpp>

namespace mousecfg {

// Reads a JSON number into an integer field the way the documents have always been read: booleans count as
// 0 and 1, integers are narrowed to the field's width (keeping the low bits), floating-point numbers are
// truncated toward zero first (NaN as 0, values beyond 64 bits held at the nearest end). Any other type throws
// the JSON library's type error "type must be number, but is <type>".
// Unlike a plain conversion this never has undefined behaviour, whatever the file holds.
template <typename T>
T NarrowNumber(const nlohmann::json& value) {
    static_assert(std::is_integral_v<T>);
    switch (value.type()) {
        case nlohmann::json::value_t::boolean:
            return static_cast<T>(value.get<bool>() ? 1 : 0);
        case nlohmann::json::value_t::number_integer:
            return static_cast<T>(value.get<int64_t>());
        case nlohmann::json::value_t::number_unsigned:
            return static_cast<T>(value.get<uint64_t>());
        case nlohmann::json::value_t::number_float: {
            const double number = std::trunc(value.get<double>());
            if (std::isnan(number)) {
                return 0;
            }
            constexpr double kLow = -9223372036854775808.0;  // -2^63
            constexpr double kHigh = 9223372036854775808.0;  // 2^63
            if (number < kLow) {
                return static_cast<T>(std::numeric_limits<int64_t>::min());
            }
            if (number >= kHigh) {
                return static_cast<T>(std::numeric_limits<int64_t>::max());
            }
            return static_cast<T>(static_cast<int64_t>(number));
        }
        default:
            throw nlohmann::json::type_error::create(
                302, std::string("type must be number, but is ") + value.type_name(), &value);
    }
}

// NarrowNumber of object[key]; throws the library's out_of_range error when the key is missing.
template <typename T>
T NarrowMember(const nlohmann::json& object, const char* key) {
    return NarrowNumber<T>(object.at(key));
}

}  // namespace mousecfg
