#pragma once
// The text of a received WM_COPYDATA, read only within the bytes the sender
// declared.

#include <cstddef>
#include <string>

namespace skype {

// Up to the first NUL within cbData; all cbData bytes when there is none;
// empty for null data or cbData 0.
std::string copyDataText(const void* data, std::size_t cbData);

} // namespace skype
