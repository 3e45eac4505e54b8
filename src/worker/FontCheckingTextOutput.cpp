// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontCheckingTextOutput.h"

#include <GfxFont.h>
#include <GfxState.h>
#include <GlobalParams.h>
#include <goo/GooString.h>

#include <cctype>
#include <string>
#include <string_view>
#include <unordered_map>

namespace
{
bool IsHex(std::string_view digits)
{
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return !digits.empty();
}

// Whether poppler reads a character from a glyph name, as it does with
// Adobe's glyph list, "uniXXXX", "uXXXX", ligatures of such names joined by
// "_" and variants such as "a.sc". Other names (g12, cid7, glyph3, a1) tell
// nothing: poppler then writes the code, or a number it finds in the name.
bool NameGivesCharacter(std::string_view name, bool dingbats)
{
    if (name.empty() || name.front() == '.')
        return false;
    if (std::size_t dot = name.find('.'); dot != std::string_view::npos)
        return NameGivesCharacter(name.substr(0, dot), dingbats);
    if (std::size_t join = name.find('_'); join != std::string_view::npos)
    {
        for (std::size_t start = 0; start <= name.size();)
        {
            std::size_t end = std::min(name.find('_', start), name.size());
            if (end > start && !NameGivesCharacter(name.substr(start, end - start), dingbats))
                return false;
            start = end + 1;
        }
        return true;
    }
    const std::string copy(name);
    if ((dingbats ? globalParams->mapNameToUnicodeAll(copy.c_str())
                  : globalParams->mapNameToUnicodeText(copy.c_str())) != 0)
        return true;
    if (name.size() >= 7 && (name.size() - 3) % 4 == 0 && name.substr(0, 3) == "uni")
        return IsHex(name.substr(3));
    return name.size() >= 5 && name.size() <= 7 && name[0] == 'u' && IsHex(name.substr(1));
}

// A CID font's characters come from its ToUnicode map, or from the table of
// its character collection; poppler has none for the Identity ordering and
// for collections it does not know, and writes the glyph numbers.
bool CidFontIsMapped(const GfxCIDFont& font)
{
    const GooString* collection = font.getCollection();
    if (!collection)
        return false;
    const std::string name = collection->toStr();
    if (name == "Adobe-UCS")
        return true;
    if (name.size() >= 9 && name.compare(name.size() - 9, 9, "-Identity") == 0)
        return false;
    // poppler hands out its table with a reference this program cannot
    // give back, so each collection is asked about once a process.
    static std::unordered_map<std::string, bool> known;
    auto found = known.find(name);
    if (found == known.end())
        found = known.emplace(name, globalParams->getCIDToUnicode(collection) != nullptr).first;
    return found->second;
}

bool CodeIsMapped(const Gfx8BitFont& font, CharCode code)
{
    // With no encoding given, a symbolic TrueType font's codes pick glyphs
    // through the font's own table; poppler reads them as WinAnsi.
    if (font.getType() == fontTrueType && !font.getHasEncoding() && font.isSymbolic())
        return false;
    const char* name = code < 256 ? font.getCharName(static_cast<int>(code)) : nullptr;
    const std::optional<std::string>& fontName = font.getName();
    const bool dingbats = fontName && fontName->ends_with("ZapfDingbats");
    return name && NameGivesCharacter(name, dingbats);
}
} // namespace

CFontCheckingTextOutput::CFontCheckingTextOutput(TextOutputFunc func, void* stream,
                                                 bool physicalLayout, bool rawOrder)
    : TextOutputDev(func, stream, physicalLayout, 0.0, rawOrder, false)
{
}

void CFontCheckingTextOutput::startPage(int pageNum, GfxState* state, XRef* xref)
{
    m_nPage = pageNum;
    m_nGlyphs = m_nUnmappedGlyphs = m_nActualTextDepth = 0;
    m_fonts.clear();
    m_pLastFont = nullptr;
    TextOutputDev::startPage(pageNum, state, xref);
}

void CFontCheckingTextOutput::endPage()
{
    TextOutputDev::endPage();
    if (m_nUnmappedGlyphs >= kMinUnmappedGlyphs &&
        m_nUnmappedGlyphs >= kMinUnmappedShare * static_cast<double>(m_nGlyphs))
        m_unmappedPages.push_back(m_nPage);
    m_fonts.clear();
    m_pLastFont = nullptr;
}

void CFontCheckingTextOutput::drawChar(GfxState* state, double x, double y, double dx, double dy,
                                       double originX, double originY, CharCode c, int nBytes,
                                       const Unicode* u, int uLen)
{
    TextOutputDev::drawChar(state, x, y, dx, dy, originX, originY, c, nBytes, u, uLen);
    // A glyph that gives no character, or a space, writes nothing to judge.
    if (m_nActualTextDepth > 0 || uLen <= 0 || u[0] == 0x20 || !state->getFont())
        return;
    ++m_nGlyphs;
    if (IsUnmapped(state->getFont(), c))
        ++m_nUnmappedGlyphs;
}

void CFontCheckingTextOutput::beginActualText(GfxState* state, const GooString* text)
{
    ++m_nActualTextDepth;
    TextOutputDev::beginActualText(state, text);
}

void CFontCheckingTextOutput::endActualText(GfxState* state)
{
    if (m_nActualTextDepth > 0)
        --m_nActualTextDepth;
    TextOutputDev::endActualText(state);
}

bool CFontCheckingTextOutput::IsUnmapped(const std::shared_ptr<GfxFont>& font, CharCode code)
{
    if (!m_pLastFont || m_pLastFont->font != font)
    {
        CFontCodes& codes = m_fonts[font.get()];
        if (!codes.font)
        {
            codes.font = font;
            if (font->hasToUnicodeCMap())
                codes.eWhole = ECode::Mapped;
            else if (font->isCIDFont())
                codes.eWhole = CidFontIsMapped(static_cast<const GfxCIDFont&>(*font))
                                   ? ECode::Mapped
                                   : ECode::Unmapped;
        }
        m_pLastFont = &codes;
    }
    if (m_pLastFont->eWhole != ECode::Unknown)
        return m_pLastFont->eWhole == ECode::Unmapped;
    ECode& known = m_pLastFont->codes[code & 0xFF];
    if (known == ECode::Unknown)
        known = CodeIsMapped(static_cast<const Gfx8BitFont&>(*font), code) ? ECode::Mapped
                                                                           : ECode::Unmapped;
    return known == ECode::Unmapped;
}
