#include "members/member_file.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>

#include "core/text_helpers.h"

namespace vantrel::members {
namespace {

constexpr char kDefaultConvocations[] = "OUI";
constexpr char kSpareValue[] = "libre";
constexpr int kAccountLineCount = kDuesLineCount + kPaymentLineCount;

// Field k of line without copying: the walk of ExtractField, including its field-69 default.
std::string_view FieldView(const std::string& line, int k) {
  std::size_t start = 0;
  for (int count = 0; count < k; ++count) {
    const std::size_t separator = line.find(';', start);
    if (separator == std::string::npos) {
      start = line.size();
      break;
    }
    start = separator + 1;
  }
  std::size_t end = line.find(';', start);
  if (end == std::string::npos) end = line.size();
  std::string_view result(line.data() + start, end - start);
  if (k == field::kMailConvocations && result.empty()) return kDefaultConvocations;
  return result;
}

// Fields 20 to 67 of a record with no dues and no payment: twelve times ";;;F;".
std::string EmptyAccountLines() {
  std::string text;
  for (int i = 0; i < kAccountLineCount; ++i) text += ";;;F;";
  return text;
}

}  // namespace

MemberRecord MemberRecord::FromLine(const std::string& line) {
  MemberRecord record;
  std::size_t start = 0;
  for (int k = 0; k < kMemberFieldCount && start <= line.size(); ++k) {
    std::size_t end = line.find(';', start);
    if (end == std::string::npos) end = line.size();
    record.m_fields[static_cast<std::size_t>(k)] = line.substr(start, end - start);
    start = end + 1;
  }
  return record;
}

std::string MemberRecord::ToLine() const {
  return JoinFields(std::vector<std::string>(m_fields.begin(), m_fields.end()));
}

std::string MemberRecord::mailConvocations() const {
  const std::string& value = get(field::kMailConvocations);
  return value.empty() ? kDefaultConvocations : value;
}

AccountLine MemberRecord::accountLineAt(int first) const {
  return {get(first), get(first + 1), get(first + 2), get(first + 3)};
}

void MemberRecord::setAccountLineAt(int first, const AccountLine& line) {
  set(first, line.account);
  set(first + 1, line.name);
  set(first + 2, line.amount);
  set(first + 3, line.mark);
}

AccountLine MemberRecord::duesLine(int i) const {
  return accountLineAt(DuesField(i, LinePart::kAccount));
}

void MemberRecord::setDuesLine(int i, const AccountLine& line) {
  setAccountLineAt(DuesField(i, LinePart::kAccount), line);
}

AccountLine MemberRecord::paymentLine(int i) const {
  return accountLineAt(PaymentField(i, LinePart::kAccount));
}

void MemberRecord::setPaymentLine(int i, const AccountLine& line) {
  setAccountLineAt(PaymentField(i, LinePart::kAccount), line);
}

std::string MemberAge(const std::string& birthDate, Date today) {
  return std::to_string(AgeInYears(ParseDate(birthDate), today));
}

std::string NewMemberLine(Date today) {
  return ";;;;20;;   ;;;;;;;;;01/01/2000;;0;" + FormatDate(today) + ";" + kSpareValue + ";" +
         EmptyAccountLines() + ";";
}

std::string ImportedMemberLine(const std::vector<std::string>& federation, Date today) {
  std::vector<std::string> fields = federation;
  fields.resize(field::kAge);
  fields.push_back(MemberAge(fields[field::kBirthDate], today));
  fields.push_back("01/01/1900");
  fields.push_back(kSpareValue);
  return JoinFields(fields) + EmptyAccountLines() + ";" + kDefaultConvocations + ";";
}

int SortMembers(Lines& members, int keyField, SortVariant variant, int current) {
  const std::size_t n = members.size();
  if (n < 2) return current;
  const bool tieOnFirstName = variant != SortVariant::kMemberCard;

  // The exchange sort only ever asks "is record i greater than record j?", so it runs the same
  // on dense ranks of the (key, first name) pairs as on the texts; ranking once keeps the n²/2
  // comparisons to integers.
  std::vector<std::string_view> keys(n);
  std::vector<std::string_view> ties(n);
  for (std::size_t i = 0; i < n; ++i) {
    keys[i] = FieldView(members[i], keyField);
    if (tieOnFirstName) ties[i] = FieldView(members[i], field::kFirstName);
  }
  auto less = [&](std::uint32_t a, std::uint32_t b) {
    const int byKey = keys[a].compare(keys[b]);
    if (byKey != 0) return byKey < 0;
    return tieOnFirstName && ties[a] < ties[b];
  };
  std::vector<std::uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), less);
  std::vector<std::uint32_t> rank(n);
  std::uint32_t nextRank = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0 && less(order[k - 1], order[k])) ++nextRank;
    rank[order[k]] = nextRank;
  }

  std::vector<std::uint32_t> origin(n);  // origin[p]: the record's position before sorting
  std::iota(origin.begin(), origin.end(), 0u);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    std::uint32_t heldRank = rank[i];
    std::uint32_t heldOrigin = origin[i];
    for (std::size_t j = i + 1; j < n; ++j) {
      if (rank[j] < heldRank) {
        std::swap(rank[j], heldRank);
        std::swap(origin[j], heldOrigin);
      }
    }
    rank[i] = heldRank;
    origin[i] = heldOrigin;
  }

  Lines sorted(n);
  int moved = current;
  for (std::size_t p = 0; p < n; ++p) {
    sorted[p] = std::move(members[origin[p]]);
    if (current >= 0 && origin[p] == static_cast<std::uint32_t>(current)) {
      moved = static_cast<int>(p);
    }
  }
  members = std::move(sorted);
  return moved;
}

std::filesystem::path MemberFilePath(const std::filesystem::path& exerciseFolder) {
  return ResolvePath(exerciseFolder / kMemberFileName);
}

Lines ReadMemberFile(const std::filesystem::path& exerciseFolder) {
  return ReadLines(exerciseFolder / kMemberFileName);
}

void WriteMemberFile(const std::filesystem::path& exerciseFolder, const Lines& members) {
  WriteLines(exerciseFolder / kMemberFileName, members);
}

}  // namespace vantrel::members
