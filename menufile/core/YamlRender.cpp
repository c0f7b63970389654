#include "menufile/core/YamlRender.h"

#include <cstdio>

#include "menufile/core/YamlScalar.h"

namespace cofferon::yaml {

bool plainHolds(std::string_view utf8, bool flow)
{
    if (utf8.empty() || utf8.front() == ' ' || utf8.back() == ' ' || utf8.back() == ':')
        return false;
    // What may not start a plain scalar, or may only in some places: quoted is safer.
    if (std::string_view("-?:,[]{}#&*!|>'\"%@`").find(utf8.front()) != std::string_view::npos)
        return false;
    if (utf8.find(": ") != std::string_view::npos || utf8.find(" #") != std::string_view::npos)
        return false;
    if (utf8.starts_with("---") || utf8.starts_with("..."))
        return false;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
        if (flow && std::string_view(",[]{}").find(c) != std::string_view::npos)
            return false;
    }
    const auto read = resolveScalar(utf8, "", true);
    return read && read->type == ScalarType::Text && read->text == utf8 && !isMergeKey(utf8, "", true);
}

std::string singleQuoted(std::string_view utf8)
{
    std::string out = "'";
    for (const char c : utf8) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

std::string doubleQuoted(std::string_view utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string textScalar(std::string_view utf8, ScalarStyle style, bool flow)
{
    switch (style) {
    case ScalarStyle::Plain:
        if (plainHolds(utf8, flow))
            return std::string(utf8);
        break;
    case ScalarStyle::DoubleQuoted:
        return doubleQuoted(utf8);
    default:
        break;
    }
    return singleQuoted(utf8);
}

}  // namespace cofferon::yaml
