#pragma once

// Item IDs as users type them: an item number, optionally ":" and a data value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cofferon {

struct ItemIdParts {
    std::int32_t id = 0;  // greater than 0
    std::int32_t data = 0;  // 0 or more
    // Name of the icon file in an icon folder, built from the pieces as the
    // user wrote them ("035:1" gives 035-1.bmp although id is 35).
    std::string iconName;
};

bool isValidItemId(std::string_view text);

// nullopt exactly when isValidItemId(text) is false.
std::optional<ItemIdParts> parseItemId(std::string_view text);

}  // namespace cofferon
