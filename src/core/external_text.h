#pragma once

#include <string>

namespace vantrel {

// Text that arrives from outside in UTF-8 (the federation's extraction, saved web pages,
// the club software's export) as Windows-1252 bytes. Every character that Windows-1252 holds
// is kept; a character it lacks becomes "?"; a byte that does not start a well-formed UTF-8
// sequence (an overlong form, a surrogate, a truncated or stray byte) is taken as a
// Windows-1252 byte of its own, so a file already in Windows-1252 passes through unchanged.
std::string DecodeExternalText(const std::string& bytes);

// True when bytes hold at least one byte beyond ASCII and every such byte belongs to a
// well-formed UTF-8 sequence: text a UTF-8 editor wrote, which Windows-1252 text with accents
// almost never is ("é" is the single byte E9 there, no UTF-8 sequence).
bool IsUtf8Text(const std::string& bytes);

// Windows-1252 text raised to capitals, accented letters included ("é" -> "É", "œ" -> "Œ",
// "ÿ" -> "Ÿ"); "ß" and every other byte unchanged.
std::string UpperCp1252(std::string text);

// The key under which names are compared (Windows-1252 in and out): no blanks, no accents,
// capitals. "Jérôme" -> "JEROME", "Jean de LA TOUR" -> "JEANDELATOUR", "Sacré-Cœur" ->
// "SACRE-COEUR", "æ" -> "AE", "ß" -> "SS".
std::string FoldName(const std::string& text);

}  // namespace vantrel
