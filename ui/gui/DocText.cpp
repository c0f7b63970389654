#include "ui/gui/DocText.h"

#include "document/core/Codec.h"

namespace cofferon {

// QString is UTF-16, so the escapes of bytes that are not characters pass
// through the widgets untouched and come back as the same bytes.
QString docToQt(std::string_view text)
{
    const std::u16string units = documentToUtf16(text);
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

std::string qtToDoc(const QString& text)
{
    return utf16ToDocument(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace cofferon
