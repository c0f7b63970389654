#include "app/gui/DocText.h"

#include "app/core/Codec.h"

namespace cofferon {

QString docToQt(std::string_view text)
{
    if (const auto utf8 = gb18030ToUtf8(text))
        return QString::fromStdString(*utf8);
    // Not valid GB18030 (cannot come from typing): show what can be shown.
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string qtToDoc(const QString& text)
{
    // Every Unicode character has a GB18030 form; only a lone surrogate can
    // fail, and toUtf8() has already replaced those.
    return utf8ToGb18030(text.toStdString()).value_or(std::string());
}

}  // namespace cofferon
