// SPDX-License-Identifier: GPL-3.0-or-later
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
    std::vector<std::string> contents;
    for (const std::string& page : pages)
        contents.push_back(PageContent(page));
    return Assemble("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", contents, {});
}

std::string CPdfMaker::BuildChinese(const std::u16string& text)
{
    // One page, so the descendant font and its descriptor are objects 6
    // and 7.
    std::string codes;
    for (char16_t ch : text)
    {
        char hex[5];
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(ch));
        codes += hex;
    }
    std::string font = "<< /Type /Font /Subtype /Type0 /BaseFont /STSong-Light /Encoding "
                       "/UniGB-UCS2-H /DescendantFonts [6 0 R] >>";
    std::vector<std::string> extra = {
        "<< /Type /Font /Subtype /CIDFontType0 /BaseFont /STSong-Light /CIDSystemInfo "
        "<< /Registry (Adobe) /Ordering (GB1) /Supplement 4 >> /FontDescriptor 7 0 R >>",
        "<< /Type /FontDescriptor /FontName /STSong-Light /Flags 6 /FontBBox [0 -200 1000 900] "
        "/ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 880 /StemV 93 >>"};
    return Assemble(font, {"BT /F1 24 Tf 72 700 Td <" + codes + "> Tj ET\n"}, extra);
}

// The catalog, the page tree and the font come first, then a page and its
// content stream for each page, then `extra` objects.
std::string CPdfMaker::Assemble(const std::string& font, const std::vector<std::string>& contents,
                                const std::vector<std::string>& extra)
{
    std::vector<std::string> objects;
    std::ostringstream kids;
    for (size_t i = 0; i < contents.size(); ++i)
        kids << (4 + 2 * i) << " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids.str() + "] /Count " +
                      std::to_string(contents.size()) + " >>");
    objects.push_back(font);
    for (size_t i = 0; i < contents.size(); ++i)
    {
        size_t contentId = 5 + 2 * i;
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
                          "/Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(contentId) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(contents[i].size()) + " >>\nstream\n" +
                          contents[i] + "\nendstream");
    }
    objects.insert(objects.end(), extra.begin(), extra.end());
    return Serialize(objects);
}

std::string CPdfMaker::BuildScan(int width, int height, const std::string& gray)
{
    std::string content = "q 612 0 0 792 0 0 cm /Im1 Do Q\n";
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
        "/Resources << /XObject << /Im1 5 0 R >> >> /Contents 4 0 R >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /XObject /Subtype /Image /Width " + std::to_string(width) + " /Height " +
            std::to_string(height) + " /ColorSpace /DeviceGray /BitsPerComponent 8 /Length " +
            std::to_string(gray.size()) + " >>\nstream\n" + gray + "\nendstream"};
    return Serialize(objects);
}

std::string CPdfMaker::BuildNested(int depth)
{
    auto stream = [](const std::string& dictionary, const std::string& content)
    {
        return "<< " + dictionary + " /Length " + std::to_string(content.size()) + " >>\nstream\n" +
               content + "\nendstream";
    };
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [4 0 R] /Count 1 >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
        "/Resources << /XObject << /X 6 0 R >> >> /Contents 5 0 R >>",
        stream("", "/X Do")};
    const std::string form = "/Type /XObject /Subtype /Form /BBox [0 0 612 792] ";
    std::string tenTimes;
    for (int i = 0; i < 10; ++i)
        tenTimes += "/X Do ";
    for (int level = 0; level < depth; ++level)
    {
        std::string next = std::to_string(objects.size() + 2);
        objects.push_back(
            stream(form + "/Resources << /XObject << /X " + next + " 0 R >> >>", tenTimes));
    }
    objects.push_back(stream(form + "/Resources << /Font << /F1 3 0 R >> >>",
                             "BT /F1 12 Tf 72 700 Td (a) Tj ET"));
    return Serialize(objects);
}

// Numbers the objects from 1 and adds the cross-reference table.
std::string CPdfMaker::Serialize(const std::vector<std::string>& objects)
{
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
