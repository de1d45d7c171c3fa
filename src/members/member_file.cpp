#include "members/member_file.h"

#include <algorithm>
#include <cstdint>
#include <deque>
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

namespace {

// Counts of marked positions below a bound (a Fenwick tree over positions 0..n-1).
class PositionCounter {
 public:
  explicit PositionCounter(std::size_t n) : m_tree(n + 1, 0) {}
  void mark(std::size_t position) {
    for (std::size_t k = position + 1; k < m_tree.size(); k += k & (~k + 1)) ++m_tree[k];
  }
  // Marked positions strictly below bound.
  std::size_t below(std::size_t bound) const {
    std::size_t count = 0;
    for (std::size_t k = bound; k > 0; k -= k & (~k + 1)) count += m_tree[k];
    return count;
  }

 private:
  std::vector<std::uint32_t> m_tree;
};

// The order the exchange sort leaves, from the dense ranks of the records (equal ranks: records
// the sort never exchanges with each other). origin[p] is the position before sorting of the
// record that ends at p.
//
// Records of different ranks end in rank order, so only the order inside each group of equal
// rank needs working out. Seen from a group, every other record is smaller (S) or larger, and
// the procedure's moves at that level do not depend on how records outside the group compare
// among themselves: pass i, while S records remain after i, ends with an S at i taken from the
// first S position q at or after i, and moves the group member at the smallest position to q
// when that position is below q. Scanning positions upwards, the members already passed thus
// form a queue that every S position turns by one (its first member moves behind the others),
// and a member met joins at the back. Counting the S positions between members gives the exact
// result in O(members log n) per group instead of n²/2 comparisons (checked against the literal
// procedure in the tests).
std::vector<std::uint32_t> ExchangeSortOrder(const std::vector<std::uint32_t>& rank) {
  const std::size_t n = rank.size();
  std::vector<std::uint32_t> origin(n);
  std::iota(origin.begin(), origin.end(), 0u);
  std::stable_sort(origin.begin(), origin.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return rank[a] < rank[b]; });

  PositionCounter smaller(n);  // positions of the records of lower rank than the group
  std::deque<std::uint32_t> queue;
  for (std::size_t begin = 0; begin < n;) {
    std::size_t end = begin + 1;
    while (end < n && rank[origin[end]] == rank[origin[begin]]) ++end;
    if (end - begin > 1 && begin > 0) {
      queue.clear();
      std::size_t passed = smaller.below(origin[begin]);
      queue.push_back(origin[begin]);
      for (std::size_t k = begin + 1; k < end; ++k) {
        const std::size_t upTo = smaller.below(origin[k]);
        for (std::size_t turns = (upTo - passed) % queue.size(); turns > 0; --turns) {
          queue.push_back(queue.front());
          queue.pop_front();
        }
        passed = upTo;
        queue.push_back(origin[k]);
      }
      std::rotate(queue.begin(),
                  queue.begin() + static_cast<std::ptrdiff_t>((begin - passed) % queue.size()),
                  queue.end());
      std::copy(queue.begin(), queue.end(), origin.begin() + static_cast<std::ptrdiff_t>(begin));
    }
    for (std::size_t k = begin; k < end; ++k) smaller.mark(origin[k]);
    begin = end;
  }
  return origin;
}

}  // namespace

int SortMembers(Lines& members, int keyField, SortVariant variant, int current) {
  const std::size_t n = members.size();
  if (n < 2) return current;
  const bool tieOnFirstName = variant != SortVariant::kMemberCard;

  // The exchange sort only ever asks "is record i greater than record j?": it runs the same on
  // dense ranks of the (key, first name) pairs as on the texts.
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

  const std::vector<std::uint32_t> origin = ExchangeSortOrder(rank);
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

bool HoldsAMember(const std::string& bytes) {
  for (const std::string& line : SplitLines(bytes)) {
    if (!Trim(line).empty()) return true;
  }
  return false;
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

void ResetMemberFile(const std::filesystem::path& exerciseFolder) {
  const std::filesystem::path members = MemberFilePath(exerciseFolder);
  if (FileExists(members)) {
    const std::string bytes = ReadBytes(members);
    // A file already emptied (a second reset in a row) never replaces the last real copy.
    if (HoldsAMember(bytes)) {
      WriteBytes(ResolvePath(exerciseFolder / kMemberBackupFileName), bytes);
    }
  }
  WriteMemberFile(exerciseFolder, {});
}

}  // namespace vantrel::members
