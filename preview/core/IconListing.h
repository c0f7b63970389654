#pragma once

// The item picker's listing of the icon folders.

#include <string>
#include <string_view>
#include <vector>

namespace cofferon {

inline constexpr int kPickerPitch = 33;
inline constexpr int kPickerColumns = 10;
inline constexpr int kPickerViewportHeight = 464;

// The names of the regular files in `folder` ending in ".bmp" (any case, as
// the folder's owners may name them), sorted by item id, then data value,
// then name, so that users find their items. A missing folder lists nothing.
std::vector<std::string> listIconFiles(const std::string& folder);

struct IconFile {
    std::string name;
    std::string path;
};

// The icons of all `folders`, each name once, taken from the first folder
// that holds it (the file findIconFile finds), sorted as listIconFiles sorts.
std::vector<IconFile> listIcons(const std::vector<std::string>& folders);

// The item ID an icon file name stands for: the name without its last four
// characters, every "-" turned into ":" (35-14.bmp gives 35:14).
std::string pickedItemId(std::string_view fileName);

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
