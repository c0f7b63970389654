#pragma once

// Builds the plugin's menu file from the menu settings and the slots.

#include <string>
#include <variant>

#include "app/core/MenuSettings.h"
#include "app/core/SlotRecord.h"

namespace cofferon {

// A refusal to go on, carrying the message the user is shown (UTF-8).
struct Refusal {
    std::string message;
};

// The YAML text in the document's encoding, every line ended by "\r\n", or
// the refusal: the title is checked first, the opening item second.
std::variant<std::string, Refusal> writeMenuYaml(const MenuSettings& settings, const SlotTable& slots);

// Single-quoted YAML scalar content: a quote inside is written twice, so a
// value such as It's stays one valid scalar.
std::string quoteYaml(std::string_view value);

}  // namespace cofferon
