#pragma once

// Builds the plugin's menu file from the menu settings and the slots.

#include <optional>
#include <string>
#include <variant>

#include "document/core/ItemId.h"
#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"

namespace cofferon {

enum class OutputEncoding { Utf8, Gb2312 };

// A refusal to go on, carrying the message the user is shown (UTF-8).
struct Refusal {
    std::string message;

    bool operator==(const Refusal&) const = default;
};

// The YAML text in the document's encoding, every line ended by "\r\n", or
// the refusal: the title is checked first, the opening item second, then
// every value written, in the order of the file. A value is refused when a
// YAML reader would reject it or read it as something else (a control
// character, a price that is not a number), and, with an encoding given,
// when that encoding cannot hold it; the message names the slot and the key.
std::variant<std::string, Refusal> writeMenuYaml(const MenuSettings& settings, const SlotTable& slots,
                                                 std::optional<OutputEncoding> encoding = std::nullopt);

// Whether the two menus give the same menu file: what writeMenuYaml writes
// of the one is what it writes of the other (neither refused), found without
// writing either.
bool sameMenuFile(const MenuSettings& a, const SlotTable& aSlots, const MenuSettings& b, const SlotTable& bSlots);

// Whether the writer writes the same item of the two slots, set in one place.
bool sameSlot(const SlotRecord& a, const SlotRecord& b);

// The two keys only some items carry: COLOR only leather armour (items 298
// to 301), SKULL-OWNER only the player skull, written exactly "397:3".
bool takesLeatherColour(const ItemIdParts& parts);
bool takesSkullOwner(std::string_view id);

// Single-quoted YAML scalar content: a quote inside is written twice, so a
// value such as It's stays one valid scalar.
std::string quoteYaml(std::string_view value);

// Where a value stands, to name it in a refusal: the slot (0 for the menu's
// own settings), the box the user fills in, the key in the file and, for a
// lore, its line counted from 1.
struct ValuePlace {
    int slot = 0;
    std::string_view box;
    std::string_view key;
    int line = 0;
};

// Why a menu file cannot hold this document text as a value, as the export
// says it; nothing when it can. With an encoding, its characters are checked too.
std::optional<Refusal> textRefusal(std::string_view value, const ValuePlace& place,
                                   std::optional<OutputEncoding> encoding);

// Why this is no number the menu file can hold; nothing when it is one.
std::optional<Refusal> numberRefusal(std::string_view value, bool decimal, const ValuePlace& place);

}  // namespace cofferon
