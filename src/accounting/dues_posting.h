#pragma once

#include <filesystem>

#include "core/date.h"
#include "members/member_card.h"

namespace vantrel::accounting {

// "Passage en Comptabilité" of the member card. When the member's unposted lines make one
// entry (two to five lines), posts them dated today with the label "Payement de " + title +
// name + first name, dues credited then payments debited, marks them posted, sets field 18 of
// boxes to today and saves the member: the journal, the ledgers and the member file are
// replaced as one change, so a line is marked posted exactly when its entry is written. Any
// other count posts and marks nothing, saves the card as "Enregistrer" does, and returns why.
// Throws Error as MemberCard::save and PostJournalEntry do; nothing is written then.
members::PostingRefusal PostMemberDues(const std::filesystem::path& exerciseFolder,
                                       members::MemberCard& card, members::CardFields& boxes,
                                       Date today);

}  // namespace vantrel::accounting
