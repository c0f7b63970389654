#pragma once

// The one crossing between document texts (GB18030 bytes) and Qt's strings.

#include <QString>

#include <string>
#include <string_view>

namespace cofferon {

QString docToQt(std::string_view text);
std::string qtToDoc(const QString& text);

// Program texts (captions, messages) are UTF-8 in the core.
inline QString programText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace cofferon
