#include "core/mail_link.h"

namespace vantrel {
namespace {

std::string Joined(const std::vector<std::string>& addresses) {
  std::string text;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    if (i > 0) text += ';';
    text += addresses[i];
  }
  return text;
}

}  // namespace

std::string MailtoOne(const std::string& address) { return "mailto:" + address; }

std::string MailtoMany(const std::vector<std::string>& addresses) {
  return "mailto:" + Joined(addresses) + " ?";
}

std::string MailtoBlindCopy(const std::vector<std::string>& addresses) {
  return "mailto: ? &bcc=" + Joined(addresses);
}

std::string MailtoWithSubject(const std::string& address, const std::string& subject) {
  return "mailto:" + address + "?subject=" + subject;
}

}  // namespace vantrel
