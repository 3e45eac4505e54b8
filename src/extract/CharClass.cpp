// SPDX-License-Identifier: GPL-3.0-or-later
#include "CharClass.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace
{
using EKind = CCharClass::EKind;
using S = CCharClass::EScript;

struct CRange
{
    char32_t first;
    char32_t last;
    EKind eKind;
    std::uint16_t nScript;
};

constexpr CRange Letters(char32_t first, char32_t last, std::uint16_t script)
{
    return {first, last, EKind::Letter, script};
}
constexpr CRange Of(char32_t first, char32_t last, EKind kind)
{
    return {first, last, kind, S::None};
}

// Sorted, without overlaps. Code points past U+007F that no range holds are
// letters of a script of their own per block (historic and rare scripts);
// the ASCII range is classified in code.
constexpr CRange kRanges[] = {
    Of(0x0080, 0x009F, EKind::Bad),
    Of(0x00A0, 0x00A0, EKind::Space),
    Of(0x00A1, 0x00A9, EKind::Punct),
    Letters(0x00AA, 0x00AA, S::Latin),
    Of(0x00AB, 0x00AC, EKind::Punct),
    Of(0x00AD, 0x00AD, EKind::Mark),
    Of(0x00AE, 0x00B9, EKind::Punct),
    Letters(0x00BA, 0x00BA, S::Latin),
    Of(0x00BB, 0x00BF, EKind::Punct),
    Letters(0x00C0, 0x00D6, S::Latin),
    Of(0x00D7, 0x00D7, EKind::Punct),
    Letters(0x00D8, 0x00F6, S::Latin),
    Of(0x00F7, 0x00F7, EKind::Punct),
    Letters(0x00F8, 0x02AF, S::Latin),
    Of(0x02B0, 0x036F, EKind::Mark),
    Letters(0x0370, 0x0373, S::Greek),
    Of(0x0374, 0x0375, EKind::Punct),
    Letters(0x0376, 0x037D, S::Greek),
    Of(0x037E, 0x037E, EKind::Punct),
    Letters(0x037F, 0x0383, S::Greek),
    Of(0x0384, 0x0385, EKind::Punct),
    Letters(0x0386, 0x0386, S::Greek),
    Of(0x0387, 0x0387, EKind::Punct),
    Letters(0x0388, 0x03FF, S::Greek),
    Letters(0x0400, 0x0481, S::Cyrillic),
    Of(0x0482, 0x0482, EKind::Punct),
    Of(0x0483, 0x0489, EKind::Mark),
    Letters(0x048A, 0x052F, S::Cyrillic),
    Letters(0x0530, 0x0558, S::Armenian),
    Of(0x0559, 0x055F, EKind::Punct),
    Letters(0x0560, 0x0588, S::Armenian),
    Of(0x0589, 0x058F, EKind::Punct),
    Of(0x0590, 0x05BD, EKind::Mark),
    Of(0x05BE, 0x05BE, EKind::Punct),
    Of(0x05BF, 0x05BF, EKind::Mark),
    Of(0x05C0, 0x05C0, EKind::Punct),
    Of(0x05C1, 0x05C2, EKind::Mark),
    Of(0x05C3, 0x05C3, EKind::Punct),
    Of(0x05C4, 0x05C5, EKind::Mark),
    Of(0x05C6, 0x05C6, EKind::Punct),
    Of(0x05C7, 0x05C7, EKind::Mark),
    Letters(0x05C8, 0x05F2, S::Hebrew),
    Of(0x05F3, 0x05FF, EKind::Punct),
    Of(0x0600, 0x0605, EKind::Mark),
    Of(0x0606, 0x060F, EKind::Punct),
    Of(0x0610, 0x061A, EKind::Mark),
    Of(0x061B, 0x061B, EKind::Punct),
    Of(0x061C, 0x061C, EKind::Mark),
    Of(0x061D, 0x061F, EKind::Punct),
    Letters(0x0620, 0x064A, S::Arabic),
    Of(0x064B, 0x065F, EKind::Mark),
    Of(0x0660, 0x0669, EKind::Digit),
    Of(0x066A, 0x066D, EKind::Punct),
    Letters(0x066E, 0x066F, S::Arabic),
    Of(0x0670, 0x0670, EKind::Mark),
    Letters(0x0671, 0x06D3, S::Arabic),
    Of(0x06D4, 0x06D4, EKind::Punct),
    Letters(0x06D5, 0x06D5, S::Arabic),
    Of(0x06D6, 0x06ED, EKind::Mark),
    Letters(0x06EE, 0x06EF, S::Arabic),
    Of(0x06F0, 0x06F9, EKind::Digit),
    Letters(0x06FA, 0x06FC, S::Arabic),
    Of(0x06FD, 0x06FE, EKind::Punct),
    Letters(0x06FF, 0x06FF, S::Arabic),
    Of(0x0700, 0x070F, EKind::Punct),
    Letters(0x0710, 0x072F, S::Syriac),
    Of(0x0730, 0x074A, EKind::Mark),
    Letters(0x074B, 0x074F, S::Syriac),
    Letters(0x0750, 0x077F, S::Arabic),
    Letters(0x0780, 0x07A5, S::Thaana),
    Of(0x07A6, 0x07B0, EKind::Mark),
    Letters(0x07B1, 0x07BF, S::Thaana),
    Of(0x07C0, 0x07C9, EKind::Digit),
    Letters(0x07CA, 0x07FF, S::Nko),
    Letters(0x0800, 0x083F, S::Samaritan),
    Letters(0x0840, 0x085F, S::Mandaic),
    Letters(0x0860, 0x086F, S::Syriac),
    Letters(0x0870, 0x08D2, S::Arabic),
    Of(0x08D3, 0x08FF, EKind::Mark),
    // U+0900 to U+0DFF: the Indic scripts, classified in code.
    Letters(0x0E00, 0x0E7F, S::Thai),
    Letters(0x0E80, 0x0EFF, S::Lao),
    Letters(0x0F00, 0x0FFF, S::Tibetan),
    Letters(0x1000, 0x109F, S::Myanmar),
    Letters(0x10A0, 0x10FF, S::Georgian),
    Letters(0x1100, 0x11FF, S::Cjk),
    Letters(0x1200, 0x139F, S::Ethiopic),
    Of(0x1680, 0x1680, EKind::Space),
    Letters(0x1780, 0x17FF, S::Khmer),
    Letters(0x1800, 0x18AF, S::Mongolian),
    Of(0x1AB0, 0x1AFF, EKind::Mark),
    Letters(0x1C80, 0x1C8F, S::Cyrillic),
    Letters(0x1C90, 0x1CBF, S::Georgian),
    Of(0x1CD0, 0x1CFF, EKind::Mark),
    Letters(0x1D00, 0x1DBF, S::Latin),
    Of(0x1DC0, 0x1DFF, EKind::Mark),
    Letters(0x1E00, 0x1EFF, S::Latin),
    // Greek Extended, less its spacing accents.
    Letters(0x1F00, 0x1FBC, S::Greek),
    Of(0x1FBD, 0x1FBD, EKind::Punct),
    Letters(0x1FBE, 0x1FBE, S::Greek),
    Of(0x1FBF, 0x1FC1, EKind::Punct),
    Letters(0x1FC2, 0x1FCC, S::Greek),
    Of(0x1FCD, 0x1FCF, EKind::Punct),
    Letters(0x1FD0, 0x1FDC, S::Greek),
    Of(0x1FDD, 0x1FDF, EKind::Punct),
    Letters(0x1FE0, 0x1FEC, S::Greek),
    Of(0x1FED, 0x1FEF, EKind::Punct),
    Letters(0x1FF0, 0x1FFC, S::Greek),
    Of(0x1FFD, 0x1FFF, EKind::Punct),
    Of(0x2000, 0x200A, EKind::Space),
    Of(0x200B, 0x200B, EKind::Space),
    Of(0x200C, 0x200F, EKind::Mark),
    Of(0x2010, 0x2027, EKind::Punct),
    Of(0x2028, 0x2029, EKind::Space),
    Of(0x202A, 0x202E, EKind::Mark),
    Of(0x202F, 0x202F, EKind::Space),
    Of(0x2030, 0x205E, EKind::Punct),
    Of(0x205F, 0x205F, EKind::Space),
    Of(0x2060, 0x206F, EKind::Mark),
    Of(0x2070, 0x20CF, EKind::Punct),
    Of(0x20D0, 0x20FF, EKind::Mark),
    Of(0x2100, 0x2BFF, EKind::Punct),
    Letters(0x2C60, 0x2C7F, S::Latin),
    Letters(0x2D00, 0x2D2F, S::Georgian),
    Letters(0x2D80, 0x2DDF, S::Ethiopic),
    Of(0x2DE0, 0x2DFF, EKind::Mark),
    Of(0x2E00, 0x2E7F, EKind::Punct),
    Letters(0x2E80, 0x2FDF, S::Cjk),
    Of(0x2FE0, 0x2FFF, EKind::Punct),
    Of(0x3000, 0x3000, EKind::Space),
    Of(0x3001, 0x3004, EKind::Punct),
    Letters(0x3005, 0x3007, S::Cjk),
    Of(0x3008, 0x3020, EKind::Punct),
    Letters(0x3021, 0x3029, S::Cjk),
    Of(0x302A, 0x302F, EKind::Mark),
    Of(0x3030, 0x3030, EKind::Punct),
    Letters(0x3031, 0x3035, S::Cjk),
    Of(0x3036, 0x3037, EKind::Punct),
    Letters(0x3038, 0x303C, S::Cjk),
    Of(0x303D, 0x303F, EKind::Punct),
    Letters(0x3040, 0x3098, S::Cjk),
    Of(0x3099, 0x309A, EKind::Mark),
    Of(0x309B, 0x309C, EKind::Punct),
    Letters(0x309D, 0x30FA, S::Cjk),
    Of(0x30FB, 0x30FB, EKind::Punct),
    Letters(0x30FC, 0x318F, S::Cjk),
    Of(0x3190, 0x319F, EKind::Punct),
    Letters(0x31A0, 0x31BF, S::Cjk),
    Of(0x31C0, 0x31EF, EKind::Punct),
    Letters(0x31F0, 0x31FF, S::Cjk),
    Of(0x3200, 0x33FF, EKind::Punct),
    Letters(0x3400, 0x4DBF, S::Cjk),
    Of(0x4DC0, 0x4DFF, EKind::Punct),
    Letters(0x4E00, 0x9FFF, S::Cjk),
    Letters(0xA000, 0xA4CF, S::Yi),
    Letters(0xA640, 0xA66E, S::Cyrillic),
    Of(0xA66F, 0xA67F, EKind::Mark),
    Letters(0xA680, 0xA69F, S::Cyrillic),
    Of(0xA700, 0xA71F, EKind::Mark),
    Letters(0xA720, 0xA7FF, S::Latin),
    Letters(0xA8E0, 0xA8FF, S::Devanagari),
    Letters(0xAC00, 0xD7FF, S::Cjk),
    Of(0xD800, 0xF8FF, EKind::Bad),
    Letters(0xF900, 0xFAFF, S::Cjk),
    Letters(0xFB00, 0xFB06, S::Latin),
    Letters(0xFB13, 0xFB17, S::Armenian),
    Letters(0xFB1D, 0xFB4F, S::Hebrew),
    Letters(0xFB50, 0xFDCF, S::Arabic),
    Of(0xFDD0, 0xFDEF, EKind::Bad),
    Letters(0xFDF0, 0xFDFF, S::Arabic),
    Of(0xFE00, 0xFE0F, EKind::Mark),
    Of(0xFE10, 0xFE1F, EKind::Punct),
    Of(0xFE20, 0xFE2F, EKind::Mark),
    Of(0xFE30, 0xFE6F, EKind::Punct),
    Letters(0xFE70, 0xFEFE, S::Arabic),
    Of(0xFEFF, 0xFEFF, EKind::Mark),
    Of(0xFF00, 0xFF0F, EKind::Punct),
    Of(0xFF10, 0xFF19, EKind::Digit),
    Of(0xFF1A, 0xFF20, EKind::Punct),
    Letters(0xFF21, 0xFF3A, S::Latin),
    Of(0xFF3B, 0xFF40, EKind::Punct),
    Letters(0xFF41, 0xFF5A, S::Latin),
    Of(0xFF5B, 0xFF65, EKind::Punct),
    Letters(0xFF66, 0xFF9D, S::Cjk),
    Of(0xFF9E, 0xFF9F, EKind::Mark),
    Letters(0xFFA0, 0xFFDF, S::Cjk),
    Of(0xFFE0, 0xFFEF, EKind::Punct),
    Of(0xFFF0, 0xFFF8, EKind::Bad),
    Of(0xFFF9, 0xFFFB, EKind::Mark),
    Of(0xFFFC, 0xFFFC, EKind::Punct),
    Of(0xFFFD, 0xFFFF, EKind::Bad),
    Of(0x1D000, 0x1D3FF, EKind::Punct),
    Letters(0x1D400, 0x1D7CD, S::MathLetter),
    Of(0x1D7CE, 0x1D7FF, EKind::Digit),
    Letters(0x1EE00, 0x1EEFF, S::MathLetter),
    Of(0x1F000, 0x1FBFF, EKind::Punct),
    Letters(0x20000, 0x3FFFF, S::Cjk),
    Of(0xE0000, 0xE01EF, EKind::Mark),
    Of(0xF0000, 0x10FFFF, EKind::Bad),
};

// The Indic blocks share one layout: signs at the start, the nukta, vowel
// signs and the virama in the middle, digits at 0x66.
CCharClass::CInfo IndicClass(char32_t code)
{
    CCharClass::CInfo info;
    const char32_t offset = code & 0x7F;
    if (offset <= 0x03 || offset == 0x3C || (offset >= 0x3E && offset <= 0x4D) ||
        (offset >= 0x51 && offset <= 0x57) || offset == 0x62 || offset == 0x63)
        info.eKind = EKind::Mark;
    else if (offset == 0x64 || offset == 0x65)
        info.eKind = EKind::Punct;
    else if (offset >= 0x66 && offset <= 0x6F)
        info.eKind = EKind::Digit;
    else
    {
        info.eKind = EKind::Letter;
        info.nScript = static_cast<std::uint16_t>(S::Devanagari + (code - 0x0900) / 0x80);
    }
    return info;
}

bool IsAsciiVowel(char32_t lower)
{
    return lower == 'a' || lower == 'e' || lower == 'i' || lower == 'o' || lower == 'u' ||
           lower == 'y';
}

CCharClass::CInfo AsciiClass(char32_t code)
{
    CCharClass::CInfo info;
    if (code == ' ' || (code >= '\t' && code <= '\r'))
        info.eKind = EKind::Space;
    else if (code < 0x20 || code == 0x7F)
        info.eKind = EKind::Bad;
    else if (code >= '0' && code <= '9')
        info.eKind = EKind::Digit;
    else if ((code | 0x20) >= 'a' && (code | 0x20) <= 'z')
    {
        info.eKind = EKind::Letter;
        info.nScript = S::Latin;
        info.bUpper = code < 'a';
        info.bLower = !info.bUpper;
        info.bVowel = IsAsciiVowel(code | 0x20);
    }
    return info;
}

// Case of the letters of Latin-1, Latin Extended-A, Latin Extended
// Additional, Greek and Cyrillic, where upper and lower case mostly take
// turns.
void SetCase(char32_t code, CCharClass::CInfo& info)
{
    bool upper = false;
    bool known = true;
    if (code >= 0x00C0 && code <= 0x00FF)
        upper = code <= 0x00DE;
    else if ((code >= 0x0100 && code <= 0x0137) || (code >= 0x014A && code <= 0x0177) ||
             (code >= 0x1E00 && code <= 0x1EFF) || (code >= 0x0460 && code <= 0x0481) ||
             (code >= 0x048A && code <= 0x04BF) || (code >= 0x04D0 && code <= 0x052F))
        upper = code % 2 == 0;
    else if ((code >= 0x0139 && code <= 0x0148) || (code >= 0x0179 && code <= 0x017E) ||
             (code >= 0x04C1 && code <= 0x04CE))
        upper = code % 2 == 1;
    else if (code >= 0x0386 && code <= 0x03CE)
        upper = code <= 0x03AB;
    else if (code >= 0x0400 && code <= 0x045F)
        upper = code <= 0x042F;
    else
        known = false;
    info.bUpper = known && upper;
    info.bLower = known && !upper;
}

// Latin vowels beyond ASCII: Latin-1, Latin Extended-A and the Vietnamese
// letters of Latin Extended-B and Latin Extended Additional.
bool IsAccentedVowel(char32_t code)
{
    static constexpr std::array<std::pair<char32_t, char32_t>, 14> kVowels = {{
        {0x00C0, 0x00C6},
        {0x00C8, 0x00CF},
        {0x00D2, 0x00D6},
        {0x00D8, 0x00DD},
        {0x00E0, 0x00E6},
        {0x00E8, 0x00EF},
        {0x00F2, 0x00F6},
        {0x00F8, 0x00FF},
        {0x0100, 0x0105},
        {0x0112, 0x011B},
        {0x0128, 0x0131},
        {0x014C, 0x0153},
        {0x0168, 0x0178},
        {0x1EA0, 0x1EF9},
    }};
    if (code == 0x01A0 || code == 0x01A1 || code == 0x01AF || code == 0x01B0)
        return true;
    return std::any_of(kVowels.begin(), kVowels.end(),
                       [code](const auto& range)
                       { return code >= range.first && code <= range.second; });
}
} // namespace

char32_t CCharClass::Next(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = lead < 0x80   ? 1
                         : lead < 0xC2 ? 0
                         : lead < 0xE0 ? 2
                         : lead < 0xF0 ? 3
                         : lead < 0xF5 ? 4
                                       : 0;
    if (length == 0 || pos + length > text.size())
    {
        ++pos;
        return 0xFFFD;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
    {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
        {
            ++pos;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms and code points past U+10FFFF.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
    {
        ++pos;
        return 0xFFFD;
    }
    pos += length;
    return code;
}

CCharClass::CInfo CCharClass::Classify(char32_t code)
{
    if (code < 0x80)
        return AsciiClass(code);
    if (code >= 0x0900 && code <= 0x0DFF)
        return IndicClass(code);
    // Noncharacters at the end of every plane.
    if ((code & 0xFFFE) == 0xFFFE)
        return {EKind::Bad};
    const auto* range =
        std::upper_bound(std::begin(kRanges), std::end(kRanges), code,
                         [](char32_t value, const CRange& r) { return value < r.first; });
    CInfo info;
    if (range != std::begin(kRanges) && code <= std::prev(range)->last)
    {
        info.eKind = std::prev(range)->eKind;
        info.nScript = std::prev(range)->nScript;
    }
    else
    {
        info.eKind = EKind::Letter;
        info.nScript = static_cast<std::uint16_t>(kFirstOtherBlock + code / 0x80);
    }
    if (info.eKind == EKind::Letter)
    {
        SetCase(code, info);
        info.bVowel = info.nScript == Latin && IsAccentedVowel(code);
    }
    return info;
}

bool CCharClass::HasTwin(char32_t code)
{
    static constexpr std::u32string_view kTwins =
        U"acehijopsxyABCEHIJKMNOPSTXYZ"
        U"\u0430\u0435\u043E\u0440\u0441\u0443\u0445\u0456\u0458\u0455\u04BB"
        U"\u0410\u0412\u0415\u041A\u041C\u041D\u041E\u0420\u0421\u0422\u0425\u0406\u0408"
        U"\u0405\u03BF\u03BD\u03B9\u03C1\u0391\u0392\u0395\u0396\u0397\u0399\u039A\u039C"
        U"\u039D\u039F\u03A1\u03A4\u03A5\u03A7";
    return kTwins.find(code) != std::u32string_view::npos;
}
