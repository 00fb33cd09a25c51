#pragma once

#include <QString>
#include <string>
#include <string_view>

// Single-byte text in the Windows-1252 code page, as the programs' files hold
// it, and Qt strings. Every byte has a character: the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control
// characters of the same number, as the runtime maps them, so that bytes turned
// into text and back are the same bytes.

namespace platform {

QString FromWindows1252(std::string_view bytes);

// A character the code page has no byte for becomes "?" (one for a character
// outside the basic plane too).
std::string ToWindows1252(const QString& text);

// The bytes of the characters the code page has; every other character (one
// outside the basic plane too) is left out, for readers that must not take a
// character they cannot hold for a "?".
std::string ToWindows1252Only(const QString& text);

} // namespace platform
