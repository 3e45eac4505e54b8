// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/ConverterContext.h"
#include "extract/PdfConverter.h"

#include <gtest/gtest.h>

namespace
{
struct StringsCase
{
    const CPathRules& rules;
    const char* path;
    const char* sourceFolder;
    const char* sourceName;
    const char* sourceExt;
    const char* textPath;
    const char* textName;
};

std::shared_ptr<CConverterContext> ContextWith(const CPathRules& rules)
{
    return std::make_shared<CConverterContext>(rules);
}
} // namespace

TEST(Converter, PathsGiveTheEightStringsUnderEachRuleSet)
{
    const CPathRules& win = CPathRules::Windows();
    const CPathRules& posix = CPathRules::Posix();
    const StringsCase cases[] = {
        {win, "D:\\docs\\Report.PDF", "D:\\docs\\", "Report.PDF", "PDF", "D:\\docs\\Report.txt",
         "Report.txt"},
        {win, "D:\\a.b\\book.final.pdf", "D:\\a.b\\", "book.final.pdf", "pdf",
         "D:\\a.b\\book.final.txt", "book.final.txt"},
        {win, "report.pdf", "", "report.pdf", "pdf", "report.txt", "report.txt"},
        {win, "D:\\docs\\notes", "D:\\docs\\", "notes", "", "D:\\docs\\notes.txt", "notes.txt"},
        {win, "D:\\docs\\notes.", "D:\\docs\\", "notes.", "", "D:\\docs\\notes.txt", "notes.txt"},
        {posix, "/docs/Report.PDF", "/docs/", "Report.PDF", "PDF", "/docs/Report.txt",
         "Report.txt"},
        {posix, "/a.b/book.final.pdf", "/a.b/", "book.final.pdf", "pdf", "/a.b/book.final.txt",
         "book.final.txt"},
        {posix, "report.pdf", "", "report.pdf", "pdf", "report.txt", "report.txt"},
        {posix, "/docs/notes.", "/docs/", "notes.", "", "/docs/notes.txt", "notes.txt"},
        {posix, "/docs/.pdf", "/docs/", ".pdf", "pdf", "/docs/.txt", ".txt"},
    };
    for (const StringsCase& e : cases)
    {
        CPdfConverter c(e.path, ContextWith(e.rules));
        EXPECT_EQ(c.m_strSourcePath, e.path);
        EXPECT_EQ(c.m_strSourceFolder, e.sourceFolder) << e.path;
        EXPECT_EQ(c.m_strSourceName, e.sourceName) << e.path;
        EXPECT_EQ(c.m_strSourceExt, e.sourceExt) << e.path;
        EXPECT_EQ(c.m_strTextPath, e.textPath) << e.path;
        EXPECT_EQ(c.m_strTextFolder, e.sourceFolder) << e.path;
        EXPECT_EQ(c.m_strTextName, e.textName) << e.path;
        EXPECT_EQ(c.m_strTextExt, "txt") << e.path;
    }
}

TEST(Converter, PrototypeHasEightEmptyStrings)
{
    CPdfConverter prototype(ContextWith(CPathRules::Posix()));
    for (std::string_view part :
         {prototype.m_strSourcePath, prototype.m_strSourceFolder, prototype.m_strSourceName,
          prototype.m_strSourceExt, prototype.m_strTextPath, prototype.m_strTextFolder,
          prototype.m_strTextName, prototype.m_strTextExt})
        EXPECT_TRUE(part.empty());
}

TEST(PdfConverter, AcceptsOnlyThePdfExtensionInAnyCase)
{
    CPdfConverter windows(ContextWith(CPathRules::Windows()));
    CPdfConverter posix(ContextWith(CPathRules::Posix()));
    const std::pair<const CPdfConverter&, const char*> accepted[] = {
        {windows, "D:\\docs\\Report.PDF"},
        {windows, "D:\\docs\\report.Pdf"},
        {windows, "D:\\folder.pdf"},
        {posix, "/docs/Report.PDF"},
        {posix, "report.pdf"},
    };
    const std::pair<const CPdfConverter&, const char*> refused[] = {
        {windows, "D:\\docs\\notes"},
        {windows, "D:\\docs\\notes."},
        {windows, "D:\\docs\\report.pdf.bak"},
        {windows, "D:\\x.pdf\\notes"},
        {posix, "/docs/report.pdfx"},
        {posix, "/docs/report.txt"},
        {posix, "/x.pdf/notes"},
        {posix, ""},
    };
    for (const auto& [converter, path] : accepted)
        EXPECT_TRUE(converter.Accepts(path)) << path;
    for (const auto& [converter, path] : refused)
        EXPECT_FALSE(converter.Accepts(path)) << path;
}

TEST(PdfConverter, CreateMakesAFilledConverterOfTheSameKindAndLeavesThePrototype)
{
    CPdfConverter prototype(ContextWith(CPathRules::Posix()));
    std::unique_ptr<CConverter> made = prototype.Create("/docs/a.pdf", {});
    ASSERT_NE(made, nullptr);
    EXPECT_NE(dynamic_cast<CPdfConverter*>(made.get()), nullptr);
    EXPECT_EQ(made->m_strTextPath, "/docs/a.txt");
    EXPECT_TRUE(prototype.m_strSourcePath.empty());
}

TEST(PdfConverter, AddExtensionsAppendsWithoutEmptying)
{
    CPdfConverter prototype(ContextWith(CPathRules::Posix()));
    std::list<std::string> extensions{"doc"};
    prototype.AddExtensions(extensions);
    EXPECT_EQ(extensions, (std::list<std::string>{"doc", "pdf"}));
}
