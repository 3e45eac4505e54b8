#include "extract/ConverterContext.h"
#include "extract/PdfConverter.h"

#include <gtest/gtest.h>

namespace
{
struct StringsCase
{
    const char* path;
    const char* sourceFolder;
    const char* sourceName;
    const char* sourceExt;
    const char* textPath;
    const char* textName;
};

void ExpectStrings(const CConverter& c, const StringsCase& e)
{
    EXPECT_EQ(c.m_strSourcePath, e.path);
    EXPECT_EQ(c.m_strSourceFolder, e.sourceFolder) << e.path;
    EXPECT_EQ(c.m_strSourceName, e.sourceName) << e.path;
    EXPECT_EQ(c.m_strSourceExt, e.sourceExt) << e.path;
    EXPECT_EQ(c.m_strTextPath, e.textPath) << e.path;
    EXPECT_EQ(c.m_strTextFolder, e.sourceFolder) << e.path;
    EXPECT_EQ(c.m_strTextName, e.textName) << e.path;
    EXPECT_EQ(c.m_strTextExt, "txt") << e.path;
}

std::shared_ptr<CConverterContext> ContextWith(const CPathRules& rules)
{
    return std::make_shared<CConverterContext>(nullptr, rules);
}
} // namespace

TEST(Converter, WindowsPathsGiveTheEightStrings)
{
    auto context = ContextWith(CPathRules::Windows());
    const StringsCase cases[] = {
        {"D:\\docs\\Report.PDF", "D:\\docs\\", "Report.PDF", "PDF", "D:\\docs\\Report.txt",
         "Report.txt"},
        {"D:\\a.b\\book.final.pdf", "D:\\a.b\\", "book.final.pdf", "pdf",
         "D:\\a.b\\book.final.txt", "book.final.txt"},
        {"report.pdf", "", "report.pdf", "pdf", "report.txt", "report.txt"},
        {"D:\\docs\\notes", "D:\\docs\\", "notes", "", "D:\\docs\\notes.txt", "notes.txt"},
        {"D:\\docs\\notes.", "D:\\docs\\", "notes.", "", "D:\\docs\\notes.txt", "notes.txt"},
    };
    for (const StringsCase& c : cases)
        ExpectStrings(CPdfConverter(c.path, context), c);
}

TEST(Converter, PosixPathsGiveTheEightStrings)
{
    auto context = ContextWith(CPathRules::Posix());
    const StringsCase cases[] = {
        {"/docs/Report.PDF", "/docs/", "Report.PDF", "PDF", "/docs/Report.txt", "Report.txt"},
        {"/a.b/book.final.pdf", "/a.b/", "book.final.pdf", "pdf", "/a.b/book.final.txt",
         "book.final.txt"},
        {"report.pdf", "", "report.pdf", "pdf", "report.txt", "report.txt"},
        {"/docs/notes.", "/docs/", "notes.", "", "/docs/notes.txt", "notes.txt"},
        {"/docs/.pdf", "/docs/", ".pdf", "pdf", "/docs/.txt", ".txt"},
    };
    for (const StringsCase& c : cases)
        ExpectStrings(CPdfConverter(c.path, context), c);
}

TEST(Converter, PrototypeHasEmptyStrings)
{
    CPdfConverter prototype(ContextWith(CPathRules::Posix()));
    EXPECT_TRUE(prototype.m_strSourcePath.empty());
    EXPECT_TRUE(prototype.m_strTextPath.empty());
    EXPECT_TRUE(prototype.m_strTextExt.empty());
}

TEST(PdfConverter, AcceptsOnlyThePdfExtensionInAnyCase)
{
    CPdfConverter windows(ContextWith(CPathRules::Windows()));
    EXPECT_TRUE(windows.Accepts("D:\\docs\\Report.PDF"));
    EXPECT_TRUE(windows.Accepts("D:\\docs\\report.Pdf"));
    EXPECT_TRUE(windows.Accepts("D:\\folder.pdf"));
    EXPECT_FALSE(windows.Accepts("D:\\docs\\notes"));
    EXPECT_FALSE(windows.Accepts("D:\\docs\\notes."));
    EXPECT_FALSE(windows.Accepts("D:\\docs\\report.pdf.bak"));
    EXPECT_FALSE(windows.Accepts("D:\\x.pdf\\notes"));

    CPdfConverter posix(ContextWith(CPathRules::Posix()));
    EXPECT_TRUE(posix.Accepts("/docs/Report.PDF"));
    EXPECT_TRUE(posix.Accepts("report.pdf"));
    EXPECT_FALSE(posix.Accepts("/docs/report.pdfx"));
    EXPECT_FALSE(posix.Accepts("/docs/report.txt"));
    EXPECT_FALSE(posix.Accepts("/x.pdf/notes"));
    EXPECT_FALSE(posix.Accepts(""));
}

TEST(PdfConverter, CreateMakesAFilledConverterOfTheSameKindAndLeavesThePrototype)
{
    CPdfConverter prototype(ContextWith(CPathRules::Posix()));
    std::unique_ptr<CConverter> made = prototype.Create("/docs/a.pdf");
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
