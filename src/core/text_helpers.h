#pragma once

#include <string>

namespace vantrel {

// Field k of a record line (fields separated by ";", counted from 0). A field the line does
// not reach is empty; field 69 (a member's choice of convocations by mail) reads "OUI" when
// empty.
std::string ExtractField(const std::string& line, int k);

// The same walk without the field-69 default, for lists that are not member records.
std::string FieldAt(const std::string& line, int k);

// The digits of text without leading zeros; with pad, zeros are put in front up to width.
// A longer result is never cut. "0 12,50" -> "1250"; "" with width 8 and pad -> "00000000".
std::string NormalizeDigits(const std::string& text, int width, bool pad);

// path without the leading part it shares with programFolder, letters a-z compared without
// regard to case. "C:\Club\2014-2015" with "C:\Club\" -> "2014-2015".
std::string StripProgramFolder(const std::string& path, const std::string& programFolder);

// Which screen decodes: each maps the byte after 0xC3 to its own set of letters.
enum class AccentVariant { kImport, kResults, kConvocations };

// Partial UTF-8 decoder to Windows-1252: a 0xC3 byte and the byte after it become the mapped
// letter, or nothing when the variant has no mapping; every other byte is copied unchanged.
std::string DecodeAccents(const std::string& bytes, AccentVariant variant);

// Letters a-z raised or lowered; every other byte unchanged.
std::string UpperAscii(std::string text);
std::string LowerAscii(std::string text);

// Text without leading and trailing blanks (bytes up to and including the space).
std::string Trim(const std::string& text);

}  // namespace vantrel
