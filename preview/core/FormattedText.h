#pragma once

// Turns texts carrying the game's colour and format codes ("&" or "§" and one
// code character) into styled runs, and builds a slot's tooltip from them.
// Kept free of any toolkit so the preview widget only has to paint the runs.

#include "document/core/Rgb.h"
#include "document/core/SlotRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cofferon {

struct StyledRun {
    std::string text;  // document text, GB18030 bytes
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    // nullopt is the preview box's own default text colour, which is not a
    // fixed RGB; code "r" gives explicit black instead.
    std::optional<Rgb> colour;

    bool operator==(const StyledRun&) const = default;
};

// What the preview lays out at most: the characters shown of one line, the
// lore lines, and the characters shown in all. Past a bound an ellipsis
// stands for the rest; the slot's texts keep everything.
inline constexpr std::size_t kPreviewLineCharacters = 2000;
inline constexpr std::size_t kPreviewLoreLines = 200;
inline constexpr std::size_t kPreviewCharacters = 20000;
inline constexpr std::string_view kEllipsis = "\xA1\xAD";  // "…" in GB18030

// One text to its runs, starting from the automatic colour and no effects.
// Codes are never shown; a marker that starts no code is shown literally.
// Line breaks are ordinary characters here. Never yields an empty run.
std::vector<StyledRun> renderFormattedText(std::string_view text);

// The preview tooltip of a slot, one entry per line: the name in white italic,
// a dark-purple separator, then each lore line in dark-purple italic, the
// texts' own codes applying on top. The painter adds the line breaks.
std::vector<std::vector<StyledRun>> tooltipLines(const SlotRecord& slot);

// Colour of a colour code character ('0'-'9', 'a'-'f', 'A'-'F'); nullopt for
// any other character.
std::optional<Rgb> codeColour(char code);

}  // namespace cofferon
