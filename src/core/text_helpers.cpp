#include "core/text_helpers.h"

namespace vantrel {

std::string FieldAt(const std::string& line, int k) {
  std::string result;
  int count = 0;
  for (char c : line) {
    if (c == ';') {
      if (++count > k) break;
    } else if (count == k) {
      result += c;
    }
  }
  return result;
}

std::string ExtractField(const std::string& line, int k) {
  std::string result = FieldAt(line, k);
  if (k == 69 && result.empty()) return "OUI";
  return result;
}

std::string NormalizeDigits(const std::string& text, int width, bool pad) {
  std::string digits;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    if (c == '0' && digits.empty()) continue;
    digits += c;
  }
  if (pad && static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  }
  return digits;
}

std::string StripProgramFolder(const std::string& path, const std::string& programFolder) {
  const std::size_t limit = programFolder.size() % 256;
  std::size_t matched = 0;
  while (matched < limit && matched < path.size()) {
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (up(path[matched]) != up(programFolder[matched])) break;
    ++matched;
  }
  return path.substr(matched);
}

namespace {

// Windows-1252 letter for the byte after 0xC3, or 0 when the variant drops it.
char AccentFor(unsigned char second, AccentVariant variant) {
  switch (second) {
    case 0x89:
      return variant == AccentVariant::kConvocations ? '\xC9' : 0;
    case 0xA7:
      return '\xE7';
    case 0xA8:
      return '\xE8';
    case 0xA9:
      return '\xE9';
    case 0xAB:
      return variant == AccentVariant::kResults ? '\xEB' : 0;
    case 0xAE:
      return '\xEE';
    default:
      return 0;
  }
}

}  // namespace

std::string DecodeAccents(const std::string& bytes, AccentVariant variant) {
  std::string out;
  out.reserve(bytes.size());
  bool marked = false;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (marked) {
      marked = false;
      if (const char letter = AccentFor(byte, variant)) out += letter;
    } else if (byte == 0xC3) {
      marked = true;
    } else {
      out += c;
    }
  }
  return out;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

std::string Trim(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

}  // namespace vantrel
