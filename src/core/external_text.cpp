#include "core/external_text.h"

#include "core/cp1252.h"

namespace vantrel {
namespace {

// Length and code point of the well-formed UTF-8 sequence at text[i] of two bytes or more;
// 0 when there is none.
int Utf8Sequence(const std::string& text, std::size_t i, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(text[i]);
  int length = 0;
  char32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
    min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (int k = 1; k < length; ++k) {
    const auto cont = static_cast<unsigned char>(text[i + k]);
    if ((cont & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (cont & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

// Base letter(s) of a Windows-1252 letter with a diacritic, in capitals; nullptr when the
// byte is no such letter.
const char* UnaccentedCapital(unsigned char c) {
  switch (c) {
    case 0x8A:
    case 0x9A:
      return "S";
    case 0x8C:
    case 0x9C:
      return "OE";
    case 0x8E:
    case 0x9E:
      return "Z";
    case 0x9F:
    case 0xFF:
    case 0xDD:
    case 0xFD:
      return "Y";
    case 0xC6:
    case 0xE6:
      return "AE";
    case 0xC7:
    case 0xE7:
      return "C";
    case 0xD0:
    case 0xF0:
      return "D";
    case 0xD1:
    case 0xF1:
      return "N";
    case 0xDF:
      return "SS";
    case 0xDE:
    case 0xFE:
      return "TH";
    case 0xD8:
    case 0xF8:
      return "O";
    default:
      break;
  }
  const unsigned char base = c >= 0xE0 ? c - 0x20 : c;
  if (base >= 0xC0 && base <= 0xC5) return "A";
  if (base >= 0xC8 && base <= 0xCB) return "E";
  if (base >= 0xCC && base <= 0xCF) return "I";
  if (base >= 0xD2 && base <= 0xD6) return "O";
  if (base >= 0xD9 && base <= 0xDC) return "U";
  return nullptr;
}

}  // namespace

std::string DecodeExternalText(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    char32_t cp = 0;
    const int length = c < 0x80 ? 0 : Utf8Sequence(bytes, i, cp);
    if (length == 0) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    const int byte = CodePointToCp1252(cp);
    // The C1 controls that Windows-1252 leaves undefined are no text either.
    out +=
        (byte < 0 || (byte >= 0x80 && byte <= 0x9F && cp < 0x100)) ? '?' : static_cast<char>(byte);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

bool IsUtf8Text(const std::string& bytes) {
  bool beyondAscii = false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp = 0;
    const int length = Utf8Sequence(bytes, i, cp);
    if (length == 0) return false;
    beyondAscii = true;
    i += static_cast<std::size_t>(length);
  }
  return beyondAscii;
}

std::string UpperCp1252(std::string text) {
  for (char& ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') {
      ch = static_cast<char>(c - 0x20);
    } else if (c >= 0xE0 && c != 0xF7 && c != 0xFF) {
      ch = static_cast<char>(c - 0x20);
    } else if (c == 0x9A || c == 0x9C || c == 0x9E) {
      ch = static_cast<char>(c - 0x10);
    } else if (c == 0xFF) {
      ch = static_cast<char>(0x9F);
    }
  }
  return text;
}

std::string FoldName(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == ' ' || c == 0xA0 || c == '\t') continue;
    if (c >= 'a' && c <= 'z') {
      out += static_cast<char>(c - 0x20);
    } else if (const char* base = c >= 0x80 ? UnaccentedCapital(c) : nullptr) {
      out += base;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace vantrel
