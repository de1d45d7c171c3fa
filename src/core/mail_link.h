#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The "mailto:" links handed to the desktop mail program.
// "mailto:" + address
std::string MailtoOne(const std::string& address);
// "mailto:" + addresses joined by ";" + " ?"
std::string MailtoMany(const std::vector<std::string>& addresses);
// "mailto: ? &bcc=" + addresses joined by ";"
std::string MailtoBlindCopy(const std::vector<std::string>& addresses);
// "mailto:" + address + "?subject=" + subject
std::string MailtoWithSubject(const std::string& address, const std::string& subject);

}  // namespace vantrel
