#include "accounting/dues_posting.h"

#include "accounting/posting.h"
#include "core/transaction.h"
#include "members/member_file.h"

namespace vantrel::accounting {

members::PostingRefusal PostMemberDues(const std::filesystem::path& exerciseFolder,
                                       members::MemberCard& card, members::CardFields& boxes,
                                       Date today) {
  const members::PostingRefusal refusal = card.postingRefusal();
  if (refusal != members::PostingRefusal::kNone) {
    card.save(exerciseFolder, boxes, today);
    return refusal;
  }
  const members::DuesEntry dues = card.duesEntry(boxes, today);
  JournalEntry entry{dues.date, dues.label, {}};
  for (std::size_t g = 0; g < dues.groups.size(); ++g) {
    const auto& group = dues.groups[g];
    entry.groups[g] = EntryGroup{group[0], group[1], group[2], group[3]};
  }

  members::MemberCard posted = card;
  members::CardFields postedBoxes = boxes;
  postedBoxes.set(members::field::kLastDuesPosting, posted.markPosted(today));
  members::MemberCard::PendingSave saved = posted.prepareSave(postedBoxes, today);

  FileTransaction transaction;
  StageJournalEntry(exerciseFolder, entry, transaction);
  transaction.Stage(members::MemberFilePath(exerciseFolder), LinesToBytes(saved.members));
  transaction.Commit();

  posted.applySave(std::move(saved));
  card = std::move(posted);
  boxes = std::move(postedBoxes);
  return refusal;
}

}  // namespace vantrel::accounting
