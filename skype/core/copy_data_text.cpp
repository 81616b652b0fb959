#include "copy_data_text.h"

#include <cstring>

namespace skype {

std::string copyDataText(const void* data, std::size_t cbData)
{
    if (data == nullptr || cbData == 0)
        return {};
    const auto* bytes = static_cast<const char*>(data);
    const void* nul = std::memchr(bytes, '\0', cbData);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : cbData;
    return std::string(bytes, length);
}

} // namespace skype
