#pragma once

#include <string>

namespace vantrel {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
std::string Cp1252ToUtf8(const std::string& bytes);

// UTF-8 to Windows-1252 bytes; a character the code page cannot hold becomes "?",
// and so does every byte of a malformed sequence.
std::string Utf8ToCp1252(const std::string& utf8);

// Unicode code point of a Windows-1252 byte, and the byte of a code point (-1 when none).
char32_t Cp1252ToCodePoint(unsigned char byte);
int CodePointToCp1252(char32_t codePoint);

// Appends the UTF-8 encoding of a code point (at most U+10FFFF) to out.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace vantrel
