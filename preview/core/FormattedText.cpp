#include "preview/core/FormattedText.h"

#include "document/core/Text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace cofferon {

namespace {

constexpr std::string_view kAmpersand = "&";
constexpr std::string_view kSection = "\xA1\xEC";  // "§" in GB18030

constexpr std::array<Rgb, 16> kCodeColours{{
    {0, 0, 0},
    {0, 0, 170},
    {0, 170, 0},
    {0, 170, 170},
    {170, 0, 0},
    {170, 0, 170},
    {255, 170, 0},
    {170, 170, 170},
    {85, 85, 85},
    {85, 85, 255},
    {85, 255, 85},
    {85, 255, 255},
    {255, 85, 85},
    {255, 85, 255},
    {255, 255, 85},
    {255, 255, 255},
}};

// Codes are ASCII only; std::tolower would consult the locale.
char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isFormatCode(char c)
{
    return std::string_view("klmnor").find(asciiLower(c)) != std::string_view::npos;
}

// The format being built up, and the text waiting to be emitted in it.
class RunBuilder {
public:
    void add(std::string_view bytes) { m_current.text += bytes; }
    bool hasPending() const { return !m_current.text.empty(); }

    void flush()
    {
        if (!hasPending())
            return;
        m_runs.push_back(m_current);
        m_current.text.clear();
    }

    void clearEffects() { m_current.bold = m_current.italic = m_current.underline = m_current.strikeout = false; }

    void applyColourCode(char code)
    {
        flush();
        // Clearing here is unconditional: a colour code always ends the
        // effects, even directly after a format code.
        clearEffects();
        m_current.colour = codeColour(code);
    }

    void applyFormatCode(char code)
    {
        // Effects only restart once text has been shown in them, so that
        // format codes written back to back combine.
        if (hasPending()) {
            flush();
            clearEffects();
        }
        switch (asciiLower(code)) {
        case 'l':
            m_current.bold = true;
            break;
        case 'm':
            m_current.strikeout = true;
            break;
        case 'n':
            m_current.underline = true;
            break;
        case 'o':
            m_current.italic = true;
            break;
        case 'r':
            clearEffects();
            m_current.colour = Rgb{0, 0, 0};
            break;
        default:
            break;  // 'k' is recognised but has no visible effect
        }
    }

    std::vector<StyledRun> finish()
    {
        flush();
        return std::move(m_runs);
    }

private:
    StyledRun m_current;
    std::vector<StyledRun> m_runs;
};

// Renders until `budget` characters are shown, and takes them off it; one
// more shown character becomes an ellipsis in the format it would have had,
// and ends the text.
std::vector<StyledRun> renderRuns(std::string_view text, std::size_t& budget)
{
    RunBuilder builder;
    std::size_t pos = 0;
    const auto show = [&](std::string_view c) {
        if (budget == 0) {
            builder.add(kEllipsis);
            return false;
        }
        builder.add(c);
        --budget;
        return true;
    };
    while (pos < text.size()) {
        const std::size_t length = characterLength(text, pos);
        const std::string_view c = text.substr(pos, length);
        const std::size_t next = pos + length;
        const bool isMarker = c == kAmpersand || c == kSection;
        if (!isMarker || next >= text.size()) {
            if (!show(c))
                break;
            pos = next;
            continue;
        }
        // Codes are ASCII, so the lead byte of a double-byte character
        // never matches one.
        const char d = text[next];
        if (codeColour(d)) {
            builder.applyColourCode(d);
            pos = next + 1;
        } else if (isFormatCode(d)) {
            builder.applyFormatCode(d);
            pos = next + 1;
        } else {
            // Shown literally; what follows is scanned afresh and may itself
            // be a marker that starts a code.
            if (!show(c))
                break;
            pos = next;
        }
    }
    return builder.finish();
}

// The lore's first `count` lines, cut as splitText cuts them, without
// looking at the text past them.
std::vector<std::string_view> firstLines(std::string_view text, std::size_t count)
{
    constexpr std::string_view kBreak = "\r\n";
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < text.size() && lines.size() < count;) {
        if (text.compare(pos, kBreak.size(), kBreak) == 0) {
            lines.push_back(text.substr(start, pos - start));
            pos += kBreak.size();
            start = pos;
        } else {
            pos += characterLength(text, pos);
        }
    }
    if (lines.size() < count && start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

std::optional<Rgb> codeColour(char code)
{
    const char lower = asciiLower(code);
    if (lower >= '0' && lower <= '9')
        return kCodeColours[static_cast<std::size_t>(lower - '0')];
    if (lower >= 'a' && lower <= 'f')
        return kCodeColours[static_cast<std::size_t>(lower - 'a' + 10)];
    return std::nullopt;
}

std::vector<StyledRun> renderFormattedText(std::string_view text)
{
    std::size_t unbounded = text.size();
    return renderRuns(text, unbounded);
}

std::vector<std::vector<StyledRun>> tooltipLines(const SlotRecord& slot)
{
    std::size_t total = kPreviewCharacters;
    const auto boundedLine = [&total](const std::string& text) {
        std::size_t budget = std::min(kPreviewLineCharacters, total);
        const std::size_t before = budget;
        std::vector<StyledRun> runs = renderRuns(text, budget);
        total -= before - budget;
        return runs;
    };
    std::vector<std::vector<StyledRun>> lines;
    lines.push_back(boundedLine("&f&o" + slot.name));
    lines.push_back(renderFormattedText("&5===================="));
    const std::vector<std::string_view> lore = firstLines(slot.lore, kPreviewLoreLines + 1);
    std::size_t shown = 0;
    for (; shown < lore.size() && shown < kPreviewLoreLines && total > 0; ++shown)
        lines.push_back(boundedLine("&5&o" + std::string(lore[shown])));
    if (shown < lore.size())
        lines.push_back(renderFormattedText("&5&o" + std::string(kEllipsis)));
    return lines;
}

}  // namespace cofferon
