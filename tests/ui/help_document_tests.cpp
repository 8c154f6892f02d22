#include "ui/help_document.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(HelpDocument, FourNamesPerFolderFromTheProgramUpToTheRoot) {
    const std::vector<std::wstring> expected = {
        L"C:\\Tools\\Orvane\\Orvane_Help.html", L"C:\\Tools\\Orvane\\Orvane_Help.md",
        L"C:\\Tools\\Orvane\\Orvane_Documents\\Orvane_Help.html", L"C:\\Tools\\Orvane\\Orvane_Documents\\Orvane_Help.md",
        L"C:\\Tools\\Orvane_Help.html", L"C:\\Tools\\Orvane_Help.md", L"C:\\Tools\\Orvane_Documents\\Orvane_Help.html",
        L"C:\\Tools\\Orvane_Documents\\Orvane_Help.md", L"C:\\Orvane_Help.html", L"C:\\Orvane_Help.md",
        L"C:\\Orvane_Documents\\Orvane_Help.html", L"C:\\Orvane_Documents\\Orvane_Help.md"};
    EXPECT_EQ(helpDocumentCandidates(L"C:\\Tools\\Orvane"), expected);
    EXPECT_EQ(helpDocumentCandidates(L"C:\\Tools\\Orvane\\"), expected);
    EXPECT_EQ(helpDocumentCandidates(L"C:").size(), 4u);
    EXPECT_TRUE(helpDocumentCandidates(L"").empty());
}

}  // namespace
}  // namespace orvane
