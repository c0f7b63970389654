#include "preview/core/FormattedText.h"

#include <gtest/gtest.h>

#include <ostream>

namespace cofferon {

// Readable failure output for runs.
void PrintTo(const StyledRun& run, std::ostream* os)
{
    *os << '"' << run.text << "\" " << (run.bold ? "b" : "") << (run.italic ? "i" : "") << (run.underline ? "u" : "")
        << (run.strikeout ? "s" : "");
    if (run.colour)
        *os << " rgb(" << int(run.colour->r) << ',' << int(run.colour->g) << ',' << int(run.colour->b) << ')';
    else
        *os << " auto";
}

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGreen{85, 255, 85};
constexpr Rgb kGold{255, 170, 0};
constexpr Rgb kRed{255, 85, 85};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kPurple{170, 0, 170};
const std::string kSection = "\xA1\xEC";

// effects: any of 'b'old, 'i'talic, 'u'nderline, 's'trikeout.
StyledRun run(std::string text, std::optional<Rgb> colour = std::nullopt, std::string_view effects = "")
{
    StyledRun r;
    r.text = std::move(text);
    r.bold = effects.find('b') != std::string_view::npos;
    r.italic = effects.find('i') != std::string_view::npos;
    r.underline = effects.find('u') != std::string_view::npos;
    r.strikeout = effects.find('s') != std::string_view::npos;
    r.colour = colour;
    return r;
}

struct RenderCase {
    const char* what;
    std::string text;
    std::vector<StyledRun> runs;
};

void PrintTo(const RenderCase& c, std::ostream* os)
{
    *os << c.what;
}

class RenderTest : public testing::TestWithParam<RenderCase> {};

TEST_P(RenderTest, GivesRuns)
{
    EXPECT_EQ(renderFormattedText(GetParam().text), GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenderTest,
    testing::Values(
        RenderCase{"empty text", "", {}}, RenderCase{"marker at end is literal", "ab&", {run("ab&")}},
        RenderCase{"section marker at end after a code", "&lX" + kSection, {run("X" + kSection, {}, "b")}},
        RenderCase{"marker before a non-code", "&x &", {run("&x &")}},
        RenderCase{"two markers then colour", "&&ahi", {run("&"), run("hi", kGreen)}},
        RenderCase{"two markers then bold", "&&lX", {run("&"), run("X", {}, "b")}},
        RenderCase{"section marker", kSection + "6gold", {run("gold", kGold)}},
        RenderCase{"upper-case codes", "&AX&LY", {run("X", kGreen), run("Y", kGreen, "b")}},
        RenderCase{"format codes combine", "&l&o&n&mX", {run("X", {}, "bius")}},
        RenderCase{"repeated code adds nothing", "&l&lX", {run("X", {}, "b")}},
        RenderCase{"format code after text restarts effects", "&lA&oB", {run("A", {}, "b"), run("B", {}, "i")}},
        RenderCase{"colour code clears effects", "&l&cX", {run("X", kRed)}},
        RenderCase{"colour code after text clears effects",
                   "&cA&lB&aC",
                   {run("A", kRed), run("B", kRed, "b"), run("C", kGreen)}},
        RenderCase{"r is explicit black without effects", "&lA&c&rB", {run("A", {}, "b"), run("B", kBlack)}},
        RenderCase{
            "k shows nothing but restarts effects after text", "&kA&lB&kC", {run("A"), run("B", {}, "b"), run("C")}},
        RenderCase{"stray lead byte before a marker", "\x81\x26lX", {run("\x81"), run("X", {}, "b")}},
        RenderCase{"marker before a double-byte character", "&\xB0\xA1", {run("&\xB0\xA1")}},
        RenderCase{"section bytes across two characters",
                   "\xB0\xA1\xEC"
                   "aX",
                   {run("\xB0\xA1\xEC"
                        "aX")}},
        RenderCase{"cut four-byte sequence before a marker", "\x81\x30&lX", {run("\x81\x30"), run("X", {}, "b")}},
        RenderCase{"four-byte character is scanned whole",
                   "\x81\x30\x81\x30&lX",
                   {run("\x81\x30\x81\x30"), run("X", {}, "b")}}));

TEST(CodeColourTest, MapsCodeCharactersOnly)
{
    EXPECT_EQ(codeColour('0'), kBlack);
    EXPECT_EQ(codeColour('6'), kGold);
    EXPECT_EQ(codeColour('9'), (Rgb{85, 85, 255}));
    EXPECT_EQ(codeColour('a'), kGreen);
    EXPECT_EQ(codeColour('F'), kWhite);
    for (char c : {'g', 'G', 'r', 'l', '/', ':', '@', '`', '\xA1'})
        EXPECT_EQ(codeColour(c), std::nullopt) << c;
}

const std::vector<StyledRun> kSeparator{run("====================", kPurple)};

TEST(TooltipLinesTest, EmptySlotGivesEmptyNameLineAndSeparator)
{
    EXPECT_EQ(tooltipLines(SlotRecord{}), (std::vector<std::vector<StyledRun>>{{}, kSeparator}));
}

TEST(TooltipLinesTest, NameAndLoreLines)
{
    SlotRecord slot;
    slot.name = "Sword";
    slot.lore = "a\r\n\r\n&cb\r\n";
    EXPECT_EQ(tooltipLines(slot),
              (std::vector<std::vector<StyledRun>>{
                  {run("Sword", kWhite, "i")}, kSeparator, {run("a", kPurple, "i")}, {}, {run("b", kRed)}}));
}

TEST(TooltipLinesTest, NameColourCodeDropsItalic)
{
    SlotRecord slot;
    slot.name = "&cRed";
    EXPECT_EQ(tooltipLines(slot).front(), (std::vector<StyledRun>{run("Red", kRed)}));
}

std::string repeated(std::string_view piece, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

// The preview lays out a bounded part of each line and of the lore, cut at
// character starts, in the format of what is shown.
TEST(TooltipLinesTest, LongNamesAreCutWithAnEllipsis)
{
    const std::size_t limit = kPreviewLineCharacters;
    const std::string ellipsis(kEllipsis);
    const std::string letters(limit, 'x');
    const struct {
        const char* what;
        std::string name;
        std::vector<StyledRun> shown;
    } cases[] = {
        {"exactly the limit", letters, {run(letters, kWhite, "i")}},
        {"codes after the limit show nothing", letters + "&c&l", {run(letters, kWhite, "i")}},
        {"one character more", letters + "y", {run(letters + ellipsis, kWhite, "i")}},
        {"one unbreakable run of 400 000 letters", std::string(400000, 'x'), {run(letters + ellipsis, kWhite, "i")}},
        {"codes are not counted", "&c" + letters + "&lz", {run(letters, kRed), run(ellipsis, kRed, "b")}},
        {"a literal marker counts",
         "&x" + std::string(limit, 'y'),
         {run("&x" + std::string(limit - 2, 'y') + ellipsis, kWhite, "i")}},
        {"double-byte characters",
         repeated("\xD6\xD0", limit + 5),
         {run(repeated("\xD6\xD0", limit) + ellipsis, kWhite, "i")}},
        {"four-byte characters",
         "&a" + repeated("\x81\x30\x81\x30", limit * 3),
         {run(repeated("\x81\x30\x81\x30", limit) + ellipsis, kGreen)}},
    };
    for (const auto& c : cases) {
        SlotRecord slot;
        slot.name = c.name;
        EXPECT_EQ(tooltipLines(slot).front(), c.shown) << c.what;
    }
}

TEST(TooltipLinesTest, LoreLinesAreBoundedWithAnEllipsisLine)
{
    std::string lore;
    for (std::size_t line = 1; line <= kPreviewLoreLines; ++line)
        lore += "&c" + std::to_string(line) + "\r\n";
    SlotRecord slot;
    slot.lore = lore;
    const auto exact = tooltipLines(slot);
    ASSERT_EQ(exact.size(), 2 + kPreviewLoreLines);
    EXPECT_EQ(exact.back(), (std::vector<StyledRun>{run(std::to_string(kPreviewLoreLines), kRed)}));

    slot.lore = repeated(lore, 400);  // 80 000 lines
    const auto bounded = tooltipLines(slot);
    ASSERT_EQ(bounded.size(), 2 + kPreviewLoreLines + 1);
    EXPECT_EQ(bounded[bounded.size() - 2], exact.back());
    EXPECT_EQ(bounded.back(), (std::vector<StyledRun>{run(std::string(kEllipsis), kPurple, "i")}));
}

TEST(TooltipLinesTest, AllLinesTogetherShowABoundedNumberOfCharacters)
{
    const std::size_t perLine = kPreviewLineCharacters;
    const std::size_t fullLines = kPreviewCharacters / perLine;  // the name's and the lore's
    SlotRecord slot;
    slot.name = std::string(perLine * 2, 'n');
    std::string lore;
    for (std::size_t line = 0; line < kPreviewLoreLines; ++line)
        lore += std::string(perLine + 1, 'x') + "\r\n";
    slot.lore = lore;
    const auto lines = tooltipLines(slot);
    // The name and the lore lines up to the total, each cut, then one "…" line.
    ASSERT_EQ(lines.size(), 2 + (fullLines - 1) + 1);
    const std::string cut = std::string(perLine, 'x') + std::string(kEllipsis);
    EXPECT_EQ(lines[2], (std::vector<StyledRun>{run(cut, kPurple, "i")}));
    EXPECT_EQ(lines[lines.size() - 2], lines[2]);
    EXPECT_EQ(lines.back(), (std::vector<StyledRun>{run(std::string(kEllipsis), kPurple, "i")}));

    // A line that the total cuts short is cut where the total ends.
    slot.lore = std::string(perLine - 1, 'a') + "\r\n" + lore;
    const auto shifted = tooltipLines(slot);
    EXPECT_EQ(shifted[2 + fullLines - 1],
              (std::vector<StyledRun>{run(std::string(1, 'x') + std::string(kEllipsis), kPurple, "i")}));
}

}  // namespace
}  // namespace cofferon
