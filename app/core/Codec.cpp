#include "app/core/Codec.h"

#include <cerrno>
#include <iconv.h>

namespace cofferon {

namespace {

class Converter {
public:
    Converter(const char* from, const char* to) : m_handle(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

}  // namespace

std::optional<std::string> convertEncoding(std::string_view text, const char* from, const char* to, int maxRounds)
{
    Converter converter(from, to);
    if (!converter.valid())
        return std::nullopt;
    if (text.empty())
        return std::string();

    std::string output(text.size(), '\0');
    const std::size_t growth = text.size() / 2 + 128;
    char* in = const_cast<char*>(text.data());  // iconv's signature is not const-correct
    std::size_t inLeft = text.size();
    std::size_t written = 0;
    for (int round = 0; round < maxRounds; ++round) {
        char* out = output.data() + written;
        std::size_t outLeft = output.size() - written;
        const std::size_t result = iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        written = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            // Flush any shift state; UTF-8 and GB18030 have none, but stay correct.
            if (iconv(converter.handle(), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
                return std::nullopt;
            written = output.size() - outLeft;
            output.resize(written);
            return output;
        }
        if (errno != E2BIG)
            return std::nullopt;
        output.resize(output.size() + growth);
    }
    return std::nullopt;
}

std::optional<std::string> gb18030ToUtf8(std::string_view text)
{
    return convertEncoding(text, "GB18030", "UTF-8");
}

std::optional<std::string> utf8ToGb18030(std::string_view text)
{
    return convertEncoding(text, "UTF-8", "GB18030");
}

}  // namespace cofferon
