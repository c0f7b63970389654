#pragma once

// Random values chosen for what they may break: YAML's syntax and the project
// file's, the program's own (item IDs, colour codes, placeholders, the hints,
// the project file's line-break escape), encodings, control characters,
// blanks and quotes at the ends, numbers past 64 bits, long runs. The values
// depend on the seed alone.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace cofferon::test {

class AwkwardValues {
public:
    explicit AwkwardValues(std::uint64_t seed) : m_random(seed) {}
    explicit AwkwardValues(std::seed_seq& seeds) : m_random(seeds) {}

    // How often a piece of text is something no menu file can hold (a control
    // character, bytes that are no character), and how often a text has
    // blanks or quotes at its ends. Both start at never.
    void setRates(double refused, double ends);
    // The rates of one random menu: mostly never, now and then often.
    void drawRates();

    bool chance(double p);
    std::size_t pick(std::size_t count);
    template <typename T>
    const T& from(const std::vector<T>& list)
    {
        return list[pick(list.size())];
    }

    // A document text (GB18030) of a few pieces; a single-line one may hold
    // the project file's line-break escape as plain text.
    std::string text(bool singleLine);
    // The lines of a multi-line field: some empty, some blank.
    std::vector<std::string> lines();
    // The lines as the document holds them, joined by CR LF.
    static std::string joinLines(const std::vector<std::string>& lines);
    // A number as typed into a price box; at the refused rate, none at all.
    std::string number(bool decimal);
    // Mostly valid item IDs; with `allowBad` some that are not.
    std::string itemId(bool allowBad);

    // Text as typed, pasted or dropped into a box: the pieces above, runs of
    // letters and of Chinese, long runs, a lone surrogate at the refused rate,
    // and with `multiLine` every kind of line break between the pieces.
    std::u16string typed(bool multiLine);

    // A piece written as UTF-8, in the document's bytes.
    static std::string document(std::string_view utf8);
    // A piece that does not come back from the document's bytes as it was,
    // which would make every expectation built from the pieces wrong.
    static std::optional<std::string> pieceThatDoesNotConvertBack();

private:
    std::string piece(bool singleLine);

    std::mt19937_64 m_random;
    double m_refused = 0.0;
    double m_ends = 0.0;
};

}  // namespace cofferon::test
