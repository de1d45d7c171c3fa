#include "members/member_card.h"

#include <cstdlib>
#include <limits>

#include "core/error.h"
#include "core/external_text.h"
#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::members {

namespace {}  // namespace

bool IsCardField(int k) {
  return (k >= field::kLicence && k <= field::kLicenceKind) || k == field::kLastDuesPosting ||
         k == field::kMailConvocations;
}

std::string ShowCents(const std::string& cents) {
  if (cents.empty()) return {};
  const auto value = TryParseInteger(cents);
  return value ? FormatCents(*value) : cents;
}

void MemberCard::load(const std::filesystem::path& exerciseFolder) {
  m_members = ReadMemberFile(exerciseFolder);
  m_current = m_members.empty() ? -1 : 0;
  m_sortField = field::kLastName;
  m_target.reset();
  showCurrent();
}

void MemberCard::clear() {
  m_members.clear();
  m_members.shrink_to_fit();
  m_current = -1;
  m_target.reset();
}

MemberRecord MemberCard::currentRecord() const {
  if (m_current < 0) return {};
  return MemberRecord::FromLine(m_members[static_cast<std::size_t>(m_current)]);
}

void MemberCard::first() {
  if (!m_members.empty()) m_current = 0;
  showCurrent();
}

void MemberCard::previous() {
  if (m_current > 0) --m_current;
  showCurrent();
}

void MemberCard::next() {
  if (canGoForward()) ++m_current;
  showCurrent();
}

void MemberCard::last() {
  if (!m_members.empty()) m_current = size() - 1;
  showCurrent();
}

void MemberCard::sortFor(int keyField) {
  if (m_sortField == keyField) return;
  m_current = SortMembers(m_members, keyField, SortVariant::kMemberCard, m_current);
  m_sortField = keyField;
}

void MemberCard::searchLicence(const std::string& text) {
  const std::int32_t wanted = ParseInteger(text);
  for (int i = size() - 1; i >= 0; --i) {
    const auto licence = TryParseInteger(FieldAt(m_members[static_cast<std::size_t>(i)], 0));
    if (licence && *licence <= wanted) {
      m_current = i;
      break;
    }
  }
  showCurrent();
}

void MemberCard::searchName(const std::string& text) {
  const std::string wanted = UpperCp1252(text);
  for (int i = 0; i < size(); ++i) {
    if (FieldAt(m_members[static_cast<std::size_t>(i)], field::kLastName).starts_with(wanted)) {
      m_current = i;
      break;
    }
  }
  showCurrent();
}

bool MemberCard::hasChanges(const CardFields& boxes) const {
  if (m_current < 0) return false;
  const MemberRecord record = currentRecord();
  for (int k = 0; k < kMemberFieldCount; ++k) {
    if (!IsCardField(k)) continue;
    const std::string stored =
        k == field::kMailConvocations ? record.mailConvocations() : record.get(k);
    if (boxes.get(k) != stored) return true;
  }
  for (int i = 0; i < kDuesLineCount; ++i) {
    if (m_dues[static_cast<std::size_t>(i)] != record.duesLine(i)) return true;
  }
  for (int i = 0; i < kPaymentLineCount; ++i) {
    if (m_payments[static_cast<std::size_t>(i)] != record.paymentLine(i)) return true;
  }
  return false;
}

void MemberCard::add(Date today) {
  m_members.push_back(NewMemberLine(today));
  m_current = size() - 1;
  showCurrent();
}

MemberRecord MemberCard::buildRecord(const CardFields& boxes, Date today) const {
  MemberRecord record;
  for (int k = 0; k < kMemberFieldCount; ++k) {
    if (IsCardField(k)) record.set(k, boxes.get(k));
  }
  record.set(field::kLicence, NormalizeDigits(boxes.get(field::kLicence), 8, true));
  record.set(field::kPostalCode, NormalizeDigits(boxes.get(field::kPostalCode), 5, true));
  std::string index = NormalizeDigits(boxes.get(field::kValueIndex), 3, false);
  record.set(field::kValueIndex, index.empty() ? "1" : index);
  record.set(field::kAge, MemberAge(boxes.get(field::kBirthDate), today));
  record.set(field::kSpare, "");
  for (int i = 0; i < kDuesLineCount; ++i) {
    AccountLine line = m_dues[static_cast<std::size_t>(i)];
    if (!line.amount.empty()) line.amount = std::to_string(ParseAmount(line.amount));
    line.mark = line.posted() ? kPosted : kNotPosted;
    record.setDuesLine(i, line);
  }
  for (int i = 0; i < kPaymentLineCount; ++i) {
    AccountLine line = m_payments[static_cast<std::size_t>(i)];
    if (!line.amount.empty()) line.amount = std::to_string(ParseAmount(line.amount));
    line.mark = line.posted() ? kPosted : kNotPosted;
    record.setPaymentLine(i, line);
  }
  record.set(field::kBalance, m_balance);
  return record;
}

MemberCard::PendingSave MemberCard::prepareSave(const CardFields& boxes, Date today) const {
  PendingSave saved{m_members, m_current};
  if (m_current < 0) return saved;
  saved.members[static_cast<std::size_t>(m_current)] = buildRecord(boxes, today).ToLine();
  saved.current = SortMembers(saved.members, field::kLastName, SortVariant::kMemberCard, m_current);
  return saved;
}

void MemberCard::applySave(PendingSave saved) {
  m_members = std::move(saved.members);
  m_current = saved.current;
  m_sortField = field::kLastName;
  showCurrent();
}

void MemberCard::save(const std::filesystem::path& exerciseFolder, const CardFields& boxes,
                      Date today) {
  if (m_current < 0) return;
  PendingSave saved = prepareSave(boxes, today);
  WriteMemberFile(exerciseFolder, saved.members);
  applySave(std::move(saved));
}

void MemberCard::remove(const std::filesystem::path& exerciseFolder) {
  if (m_current < 0) return;
  Lines kept = m_members;
  kept.erase(kept.begin() + m_current);
  WriteMemberFile(exerciseFolder, kept);
  m_members = std::move(kept);
  if (m_current == size()) --m_current;
  showCurrent();
}

const AccountLine& MemberCard::line(CardRow row) const {
  return row.kind == CardRow::Kind::kDues ? m_dues.at(static_cast<std::size_t>(row.index))
                                          : m_payments.at(static_cast<std::size_t>(row.index));
}

AccountLine& MemberCard::lineRef(CardRow row) {
  return row.kind == CardRow::Kind::kDues ? m_dues.at(static_cast<std::size_t>(row.index))
                                          : m_payments.at(static_cast<std::size_t>(row.index));
}

void MemberCard::showCurrent() {
  m_target.reset();
  const MemberRecord record = currentRecord();
  for (int i = 0; i < kDuesLineCount; ++i) m_dues[static_cast<std::size_t>(i)] = record.duesLine(i);
  for (int i = 0; i < kPaymentLineCount; ++i) {
    m_payments[static_cast<std::size_t>(i)] = record.paymentLine(i);
  }
  m_balance = record.get(field::kBalance);
}

std::int64_t MemberCard::computeBalance() {
  std::int64_t balance = 0;
  for (const AccountLine& line : m_payments) balance += ParseAmount(line.amount);
  for (const AccountLine& line : m_dues) balance -= ParseAmount(line.amount);
  m_balance = std::to_string(balance);
  return balance;
}

bool MemberCard::target(CardRow row) {
  if (line(row).posted()) return false;
  m_target = row;
  return true;
}

std::optional<std::string> MemberCard::choose(const Lines& pickLines, int choice) {
  if (!m_target) return std::nullopt;
  AccountLine& target = lineRef(*m_target);
  if (choice <= 0 || choice > static_cast<int>(pickLines.size())) {
    target.account.clear();
    target.name.clear();
    target.amount.clear();
    computeBalance();
    return std::nullopt;
  }
  const std::string& picked = pickLines[static_cast<std::size_t>(choice - 1)];
  target.account = FieldAt(picked, 0);
  target.name = FieldAt(picked, 1);
  target.amount.clear();
  if (m_target->kind == CardRow::Kind::kDues) {
    std::string digits;
    for (char c : FieldAt(picked, 2)) {
      if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
  }
  const std::int64_t balance = m_balance.empty() ? 0 : ParseAmount(m_balance);
  return std::to_string(balance < 0 ? -balance : balance);
}

void MemberCard::confirmAmount(const std::string& typed) {
  if (!m_target) return;
  const std::int32_t cents = ParseInteger(NormalizeDigits(typed, 3, true));
  lineRef(*m_target).amount = std::to_string(cents);
  computeBalance();
}

std::vector<CardRow> MemberCard::unpostedRows() const {
  std::vector<CardRow> rows;
  for (int i = 0; i < kDuesLineCount; ++i) {
    const AccountLine& dues = m_dues[static_cast<std::size_t>(i)];
    if (!dues.account.empty() && !dues.posted()) rows.push_back({CardRow::Kind::kDues, i});
  }
  for (int i = 0; i < kPaymentLineCount; ++i) {
    const AccountLine& payment = m_payments[static_cast<std::size_t>(i)];
    if (!payment.account.empty() && !payment.posted()) {
      rows.push_back({CardRow::Kind::kPayment, i});
    }
  }
  return rows;
}

PostingRefusal MemberCard::postingRefusal() const {
  const std::size_t count = unpostedRows().size();
  if (count == 0) return PostingRefusal::kNothingToPost;
  if (count == 1) return PostingRefusal::kSingleLine;
  if (count > 5) return PostingRefusal::kTooManyLines;
  return PostingRefusal::kNone;
}

DuesEntry MemberCard::duesEntry(const CardFields& boxes, Date today) const {
  DuesEntry entry;
  entry.date = FormatDate(today);
  entry.label = "Payement de " + boxes.get(field::kTitle) + " " + boxes.get(field::kLastName) +
                " " + boxes.get(field::kFirstName);
  for (const CardRow& row : unpostedRows()) {
    const AccountLine& l = line(row);
    const std::string amount = l.amount.empty() ? "" : std::to_string(ParseAmount(l.amount));
    if (row.kind == CardRow::Kind::kDues) {
      entry.groups.push_back({l.account, l.name, "", amount});
    } else {
      entry.groups.push_back({l.account, l.name, amount, ""});
    }
  }
  return entry;
}

std::string MemberCard::markPosted(Date today) {
  for (const CardRow& row : unpostedRows()) lineRef(row).mark = kPosted;
  return FormatDate(today);
}

}  // namespace vantrel::members
