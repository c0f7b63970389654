#pragma once

// The item picker's listing of the icon folders.

#include <string>
#include <string_view>
#include <vector>

namespace cofferon {

inline constexpr int kPickerPitch = 33;
inline constexpr int kPickerColumns = 10;
inline constexpr int kPickerViewportHeight = 440;

struct IconFile {
    std::string name;
    std::string path;
};

// The icons of all `folders`: their regular files ending in ".bmp" (any case,
// as the folders' owners may name them), each name once, taken from the first
// folder that holds it (the file findIconFile finds). Sorted by item id, then
// data value, then name, so that users find their items. A missing folder
// lists nothing.
std::vector<IconFile> listIcons(const std::vector<std::string>& folders);

// The item ID an icon file name stands for: the name without its last four
// characters, every "-" turned into ":" (35-14.bmp gives 35:14).
std::string pickedItemId(std::string_view fileName);

// Whether the picker's search finds an item ID: the parts of the search,
// split at ":", are the ID's first parts ("35" finds 35:1 and 35:14, "35:1"
// finds 35:1 alone), letters in any case. Blanks around the search and a ":"
// at its end count for nothing; an empty search finds every ID.
bool itemIdMatches(std::string_view itemId, std::string_view search);

// Height of the picture that holds `count` icons, ten to a row.
constexpr int pickerHeight(int count)
{
    return (count + kPickerColumns - 1) / kPickerColumns * kPickerPitch;
}

// Largest scroll position: the last row then ends at the viewport's bottom.
// Negative when everything fits.
constexpr int pickerScrollMaximum(int count)
{
    return pickerHeight(count) - (kPickerViewportHeight - 1);
}

}  // namespace cofferon
