#pragma once

namespace vantrel {

// The program's version, shown in the title, the about box and the version page's name.
inline constexpr char kVersion[] = "9.19.11";

// The program's web site. The club has none yet: the host is a reserved name that never
// resolves, so that no start-up sends traffic to a stranger.
inline constexpr char kSiteAddress[] = "http://vantrel.invalid";
inline constexpr char kIndexPath[] = "/arbitrage/index.html";
inline constexpr char kDownloadPath[] = "/vantrel.php";

// The author, named in the about box and reached by "M'écrire" (Windows-1252 bytes).
inline constexpr char kAuthorLastName[] = "DELORME";
inline constexpr char kAuthorFirstName[] = "Yves";
inline constexpr char kAuthorMail[] = "auteur@vantrel.invalid";
// The federation's own mail domain: its addresses are never imported (members/
// federation_import.h); named in the version history.
inline constexpr char kFederationMailDomain[] = "ffbridge.fr";

}  // namespace vantrel
