// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <TextOutputDev.h>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class GfxFont;

// poppler's text output, unchanged, that besides notes the pages on which a
// good part of the glyphs came from fonts that give poppler no way to the
// characters they show: no ToUnicode map, and codes that name no character
// (glyph names outside Adobe's list, a symbolic TrueType font read as
// WinAnsi, a CID font of the Identity ordering). poppler then writes the
// codes themselves, which is garbage whenever they are not the characters.
class CFontCheckingTextOutput : public TextOutputDev
{
public:
    // A page is noted when at least this many of its glyphs, and this share
    // of them, came from such fonts: a few symbols or a logo in a font
    // without a map leave the words around them sound.
    static constexpr int kMinUnmappedGlyphs = 5;
    static constexpr double kMinUnmappedShare = 0.2;

    CFontCheckingTextOutput(TextOutputFunc func, void* stream, bool physicalLayout, bool rawOrder);

    // The pages noted so far, from 1, rising.
    const std::vector<int>& UnmappedFontPages() const { return m_unmappedPages; }

    void startPage(int pageNum, GfxState* state, XRef* xref) override;
    void endPage() override;
    void drawChar(GfxState* state, double x, double y, double dx, double dy, double originX,
                  double originY, CharCode c, int nBytes, const Unicode* u, int uLen) override;
    void beginActualText(GfxState* state, const GooString* text) override;
    void endActualText(GfxState* state) override;

private:
    enum class ECode : std::uint8_t
    {
        Unknown,
        Mapped,
        Unmapped,
    };

    // What is known of one font's codes; CID fonts are judged whole.
    struct CFontCodes
    {
        // Held so that the font's address is not reused for another.
        std::shared_ptr<GfxFont> font;
        ECode eWhole = ECode::Unknown;
        std::array<ECode, 256> codes{};
    };

    bool IsUnmapped(const std::shared_ptr<GfxFont>& font, CharCode code);

    std::unordered_map<const GfxFont*, CFontCodes> m_fonts;
    CFontCodes* m_pLastFont = nullptr;
    int m_nPage = 0;
    int m_nGlyphs = 0;
    int m_nUnmappedGlyphs = 0;
    // Glyphs inside a span with its ActualText give that text, not theirs.
    int m_nActualTextDepth = 0;
    std::vector<int> m_unmappedPages;
};
