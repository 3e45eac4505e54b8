#include "PdfMaker.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace
{
std::string EscapePdfText(const std::string& line)
{
    std::string escaped;
    for (char ch : line)
    {
        if (ch == '(' || ch == ')' || ch == '\\')
            escaped += '\\';
        escaped += ch;
    }
    return escaped;
}

std::string PageContent(const std::string& text)
{
    if (text.empty())
        return std::string();
    std::ostringstream content;
    content << "BT /F1 11 Tf 14 TL 72 750 Td\n";
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        content << "(" << EscapePdfText(line) << ") Tj T*\n";
    content << "ET\n";
    return content.str();
}
} // namespace

std::string CPdfMaker::Build(const std::vector<std::string>& pages)
{
    // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content
    // stream for each page.
    std::vector<std::string> objects;
    std::ostringstream kids;
    for (size_t i = 0; i < pages.size(); ++i)
        kids << (4 + 2 * i) << " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids.str() + "] /Count " +
                      std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (size_t i = 0; i < pages.size(); ++i)
    {
        size_t contentId = 5 + 2 * i;
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
                          "/Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(contentId) + " 0 R >>");
        std::string content = PageContent(pages[i]);
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "\nendstream");
    }

    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i)
    {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets)
    {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

void CPdfMaker::Write(const std::string& path, const std::vector<std::string>& pages)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string pdf = Build(pages);
    out.write(pdf.data(), static_cast<std::streamsize>(pdf.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}
