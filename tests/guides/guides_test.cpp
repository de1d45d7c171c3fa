// The help guides the build makes (build/aide): every guide has its table of contents linked to
// its pages, a picture for each screen its source shows, and numbered pages.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "core/help_documents.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

struct Guide {
  const char* pdf;
  const char* source;
};
const Guide kGuides[] = {{kHelpGeneral, "informations.md"},      {kHelpMembers, "membres.md"},
                         {kHelpAccounting, "comptabilite.md"},   {kHelpExercise, "exercice.md"},
                         {kHelpConvocations, "convocations.md"}, {kHelpChart, "plan_comptable.md"}};

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

std::string PdfText(const fs::path& pdf, const fs::path& out) {
  const std::string command = "pdftotext '" + pdf.string() + "' '" + out.string() + "'";
  if (std::system(command.c_str()) != 0) return "(pdftotext failed)";
  return ReadFile(out);
}

TEST(GuidesTest, EveryGuideHasItsContentsItsPicturesAndItsPageNumbers) {
  testing::TempFolder scratch;
  for (const Guide& guide : kGuides) {
    SCOPED_TRACE(guide.pdf);
    const std::string pdf = ReadFile(fs::path(VANTREL_GUIDES_DIR) / guide.pdf);
    const std::string source = ReadFile(fs::path(VANTREL_GUIDES_SOURCES) / guide.source);
    ASSERT_FALSE(pdf.empty());
    ASSERT_FALSE(source.empty());

    // One entry per heading after the title; each links to a page of the file itself.
    std::size_t headings = 0;
    for (std::size_t at = 0; (at = source.find('\n', at)) != std::string::npos; ++at) {
      if (source.compare(at + 1, 2, "# ") == 0 || source.compare(at + 1, 3, "## ") == 0) {
        ++headings;
      }
    }
    EXPECT_GE(Count(pdf, "/Dest ["), headings);
    EXPECT_EQ(0u, Count(pdf, "(#page-"));

    // Each screen the source shows is drawn once at least.
    std::set<std::string> screens;
    static const std::regex picture(R"(\]\(ecrans/([a-z_]+)\.png\))");
    for (std::sregex_iterator it(source.begin(), source.end(), picture), end; it != end; ++it) {
      screens.insert((*it)[1]);
    }
    EXPECT_GE(screens.size(), 1u);
    EXPECT_GE(Count(pdf, "/Subtype /Image"), screens.size());

    const std::string text = PdfText(fs::path(VANTREL_GUIDES_DIR) / guide.pdf,
                                     scratch.path() / (std::string(guide.pdf) + ".txt"));
    EXPECT_NE(std::string::npos, text.find("Sommaire")) << text.substr(0, 300);
    EXPECT_NE(std::string::npos, text.find("Page 2 / ")) << text.substr(0, 300);
    // No page is left with its head and foot alone: pdftotext ends each page with a form feed.
    const std::size_t title = source.find('\n') - 2;  // "# Title"
    std::size_t page = 0;
    for (std::size_t start = 0, end; (end = text.find('\f', start)) != std::string::npos;
         start = end + 1) {
      ++page;
      EXPECT_GT(end - start, title + 40)
          << "page " << page << ": " << text.substr(start, end - start);
    }
    EXPECT_GE(page, 3u);
  }
}

}  // namespace
}  // namespace vantrel
