// Names read from media (labels, directories, disk and tape IDs) are bytes,
// not text: how they are shown, printed and given to PC files.
#pragma once

#include <string>
#include <string_view>

namespace kelvo {

// True when every byte is printable ASCII other than the backslash, so the
// name reads the same as text.
bool IsPlainName(std::string_view bytes);

// The name as printable ASCII: each byte outside printable ASCII, and the
// backslash, written as \xHH.
std::string EscapedName(std::string_view bytes);

// The bytes in upper-case hexadecimal, two digits each.
std::string HexBytes(std::string_view bytes);

// The name a PC file restored from a medium gets: each control byte, each
// byte outside ASCII, '/', '\' and a leading '.' become '_', so the file
// lands in the chosen folder, visible, under a name any folder can hold.
std::string SafePcFileName(std::string_view bytes);

}  // namespace kelvo
