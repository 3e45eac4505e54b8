// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfMaker.h"
#include "SystemSkip.h"
#include "TempDir.h"

#include "extract/CharClass.h"
#include "extract/TextHealth.h"
#include "platform/ChildProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using ESign = CTextHealth::ESign;

struct PageCase
{
    const char* name;
    std::string text;
};

void PrintTo(const PageCase& c, std::ostream* out)
{
    *out << c.name;
}

// Every visible ASCII character moved by `shift`, as a font whose codes are
// its glyph numbers shows text: "The" by -29 is "7KH".
std::string Shifted(const std::string& text, int shift)
{
    std::string moved = text;
    for (char& c : moved)
        if (c > ' ' && c < 0x7F)
            c = static_cast<char>(c + shift);
    return moved;
}

// Letters swapped by a fixed key, as a font subset numbered in the order of
// first use spells them.
std::string Enciphered(const std::string& text)
{
    static constexpr const char* kKey = "qwertyuiopasdfghjklzxcvbnm";
    std::string secret = text;
    for (char& c : secret)
        if (c >= 'a' && c <= 'z')
            c = kKey[c - 'a'];
    return secret;
}

const std::string kEnglish =
    "The committee met on Tuesday to review the annual budget. Members agreed that the\n"
    "library should extend its opening hours during the examination period, starting next\n"
    "month, and asked the treasurer to report on the cost of the change in the spring.\n";

class SoundPage : public ::testing::TestWithParam<PageCase>
{
};

class GarbledPage : public ::testing::TestWithParam<std::pair<PageCase, ESign>>
{
};
} // namespace

TEST_P(SoundPage, IsJudgedAndPasses)
{
    const CTextHealth::CPage page = CTextHealth::JudgePage(GetParam().text);
    EXPECT_TRUE(page.bJudged);
    EXPECT_EQ(page.eSign, ESign::None);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, SoundPage,
    ::testing::Values(
        PageCase{"English", kEnglish},
        PageCase{"German",
                 "Die Überwachung der Grenzwerte erfolgt durch das zuständige Landesamt.\n"
                 "Änderungen müssen schriftlich beantragt werden; die Bearbeitungszeit\n"
                 "beträgt in der Regel sechs Wochen nach Eingang der Unterlagen."},
        PageCase{"French",
                 "Le conseil municipal s'est réuni jeudi soir pour examiner le projet de\n"
                 "rénovation de l'école élémentaire. Les travaux débuteront à la fin de\n"
                 "l'été, après la fête du village, et dureront près de six mois."},
        PageCase{"Polish", "Szczegółowe informacje o rekrutacji znajdują się na stronie wydziału.\n"
                           "Wnioski należy składać do końca września, a wyniki zostaną ogłoszone\n"
                           "w październiku; przysługuje odwołanie w terminie czternastu dni."},
        PageCase{"Czech", "Strč prst skrz krk. Vývoj českého pravopisu ovlivnil Jan Hus, který\n"
                          "zavedl diakritická znaménka místo spřežek používaných ve starších\n"
                          "textech, a jeho pravidla se s úpravami používají dodnes."},
        PageCase{"Vietnamese", "Thành phố Hồ Chí Minh là trung tâm kinh tế lớn nhất của Việt Nam.\n"
                               "Người dân ở đây thường bắt đầu ngày mới bằng một ly cà phê sữa đá\n"
                               "bên vỉa hè, trước khi hòa vào dòng xe máy tấp nập."},
        PageCase{"Russian", "Заседание комиссии состоится в среду в конференц-зале главного\n"
                            "корпуса. Просим участников заранее ознакомиться с проектом решения\n"
                            "и подготовить свои замечания к пятнице."},
        PageCase{"Greek", "Η συνεδρίαση της επιτροπής θα πραγματοποιηθεί την Τετάρτη στην αίθουσα\n"
                          "του δημαρχείου. Οι πολίτες μπορούν να υποβάλουν τις προτάσεις τους\n"
                          "μέχρι το τέλος του μήνα."},
        PageCase{"Arabic",
                 "عقدت اللجنة اجتماعها الأسبوعي في مقر الجامعة لمناقشة خطة العام الدراسي\n"
                 "الجديد، واتفق الأعضاء على تمديد ساعات عمل المكتبة خلال فترة الامتحانات."},
        PageCase{"Hebrew", "הוועדה התכנסה ביום שלישי כדי לדון בתקציב השנתי של העירייה. חברי\n"
                           "הוועדה הסכימו להאריך את שעות הפתיחה של הספרייה בתקופת הבחינות."},
        PageCase{"Chinese", "委员会于星期二召开会议，审议了年度预算。委员们一致同意在考试期间延长\n"
                            "图书馆的开放时间，并从下个月开始实施。"},
        PageCase{"Japanese",
                 "委員会は火曜日に会議を開き、年間予算について審議しました。試験期間中は\n"
                 "図書館の開館時間を延長することで合意し、来月から実施します。"},
        PageCase{"Korean",
                 "위원회는 화요일에 회의를 열어 연간 예산을 검토했습니다. 위원들은 시험\n"
                 "기간 동안 도서관 개방 시간을 연장하기로 합의했으며 다음 달부터 시행합니다."},
        PageCase{"Thai", "คณะกรรมการได้ประชุมเมื่อวันอังคารเพื่อพิจารณางบประมาณประจำปี และมีมติให้ขยาย\n"
                         "เวลาเปิดห้องสมุดในช่วงสอบ โดยจะเริ่มตั้งแต่เดือนหน้า"},
        PageCase{"Hindi", "समिति ने मंगलवार को वार्षिक बजट की समीक्षा के लिए बैठक की। सदस्यों ने\n"
                          "परीक्षा के दौरान पुस्तकालय के खुलने का समय बढ़ाने पर सहमति व्यक्त की।"},
        PageCase{"Persian_LatinGluedWithDirectionMarks",
                 "\u202b\u0634\u0643\u0644 \u202a :\u06f4\u202c\u0645\u0631\u062d\u0644\u0647 "
                 "\u062f\u0648\u0645 "
                 "\u0628\u0631\u0627\u06cc \u0627\u06cc\u062c\u0627\u062f \u202a "
                 "Command\u202c\u062c\u062f\u06cc\u062f\u202c\n"
                 "\u202b\u0634\u0643\u0644 \u202a :\u06f5\u202c\u0645\u0631\u062d\u0644\u0647 "
                 "\u0633\u0648\u0645 "
                 "\u0628\u0631\u0627\u06cc \u0627\u06cc\u062c\u0627\u062f \u202a "
                 "Command\u202c\u062c\u062f\u06cc\u062f\u202c\n"
                 "\u202b\u0627\u062e\u062a\u0628\u0627\u0631 "
                 "\u0628\u0627\u0633\u062a\u0639\u0645\u0627\u0644 \u202awexam\u202c\u202c"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    NotProse, SoundPage,
    ::testing::Values(
        PageCase{"TableOfNumbers", "Year        Q1        Q2        Q3        Q4\n"
                                   "2019   1,204.5   1,310.2   1,298.7   1,402.3\n"
                                   "2020     987.1   1,020.4   1,156.9   1,233.0\n"
                                   "2021   1,301.8   1,377.6   1,412.2   1,498.5\n"},
        PageCase{"CodeListing", "for (std::size_t i = 0; i < items.size(); ++i)\n{\n"
                                "    if (items[i].nCount > 0x7F && !m_bSkip)\n"
                                "        total += items[i].dWeight * 2.5;\n}\n"
                                "return std::make_unique<CNode>(total);\n"},
        PageCase{"TeXListing",
                 "783 \\global\\let\\@title\\@empty\n"
                 "790 \\def\\uc@nothanks#1\\thanks{\\uppercase{#1}\\futurelet\\@tempa\\uc@tx}\n"
                 "805 \\def\\@makefnmark{\\rlap{\\@textsuperscript{\\normalfont\\@thefnmark}}}%\n"},
        PageCase{"Mathematics",
                 "Let f(x) = ax² + bx + c with a ≠ 0. Then f′(x) = 2ax + b, and f has its\n"
                 "extremum at x₀ = −b/(2a), where f(x₀) = c − b²/(4a). For α, β ∈ ℝ we get\n"
                 "∫₀¹ (αx + β) dx = α/2 + β and 𝑓(𝑥) = 𝛼𝑥 + 𝛽 on the whole line."},
        PageCase{
            "CapitalsOnly",
            "THE SOFTWARE IS PROVIDED AS IS, WITHOUT WARRANTY OF ANY KIND, EXPRESS OR\n"
            "IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,\n"
            "FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE\n"
            "AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY."},
        PageCase{"AcronymsThatAShiftCouldSpell",
                 "GRAPH_X = (X - GPVAL_X_MIN) / (GPVAL_X_MAX - GPVAL_X_MIN)\n"
                 "SCREEN_X = GPVAL_TERM_XMIN + GRAPH_X * (GPVAL_TERM_XMAX - GPVAL_TERM_XMIN)\n"
                 "FRAC_X = SCREEN_X * GPVAL_TERM_SCALE / GPVAL_TERM_XSIZE\n"
                 "GRAPH_Y = (Y - GPVAL_Y_MIN) / (GPVAL_Y_MAX - GPVAL_Y_MIN)\n"},
        PageCase{"IndexOfOneOddName",
                 "\\dcolviii . . . . . . 5000, 5028\n\\dcolx . . . . . . 5002, 5028\n"
                 "\\dcolxi . . . . . . 5003, 5029\n\\dcolxii . . . . . 5004, 5029\n"
                 "\\dcolxiii . . . . . 5005, 5030\n\\dcolxiv . . . . . 5006, 5030\n"},
        PageCase{"CyrillicTwinsInLatinNames",
                 "Tob\u0456as Oet\u0456ker, Hubert Partl, \u0406rene Hyna та "
                 "El\u0456sabeth Schlegl\nVers\u0456on 4.12, 05 May, 2003\n"},
        PageCase{"AngleBracketsFromASymbolFont",
                 "hвыражение-путьi → hподвыражение-путьi\n"
                 "hсписок выраженийi → hвыражениеi | hсписок выраженийi,hвыражениеi\n"},
        PageCase{"AFewIconsFromAnIconFont",
                 "\uf09b GitHub   \uf099 Twitter   \uf0e0 Mail\n" + kEnglish}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(GarbledPage, FailsWithItsSign)
{
    const CTextHealth::CPage page = CTextHealth::JudgePage(GetParam().first.text);
    EXPECT_TRUE(page.bJudged);
    EXPECT_EQ(page.eSign, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, GarbledPage,
    ::testing::Values(
        std::pair{PageCase{"ReplacementCharacters", "209 \\eqcommand{����������}{abstractname}\n"
                                                    "210 \\eqcommand{�����}{accent}\n"
                                                    "211 \\eqcommand{����}{active}\n"},
                  ESign::BadCharacters},
        std::pair{
            PageCase{"ControlsOfAType3Font",
                     "\u0091\x07\u0092 \u0093\x17\u0094\x1f\u0095=\u0092\x07\u0096\x01\u0097"
                     "\x05\u0098K\u0099=\u009a  \u009b\x07\u009c \u009d\x0f\u009e\x19\u009f\x07\n"
                     "\u0091\x07\u0092 \u0093\x17\u0094\x1f\u0095\x05\u0098\x0f\u0092\x07\u0096"
                     "\x01\u0097\x17\u0099\n"},
            ESign::BadCharacters},
        std::pair{PageCase{"PrivateUse",
                           "\uf731.\uf734 \uf732\uf733\uf735\uf736 \uf737\uf738\uf739\uf73a"
                           "\uf73b\uf73c\uf73d \uf73e\uf73f\uf740\uf741 \uf742\uf743\uf744\n"
                           "\uf745\uf746\uf747\uf748 \uf749\uf74a \uf74b\uf74c\uf74d\uf74e "
                           "\uf74f\uf750\uf751\uf752\uf753\uf754\uf755\uf756\uf757\n"},
                  ESign::BadCharacters},
        std::pair{PageCase{"GlyphNumbersOfATrueTypeFont", Shifted(kEnglish, -29)},
                  ESign::ShiftedAlphabet},
        std::pair{
            PageCase{"GlyphNumbersAmongSoundWords",
                     Shifted(kEnglish, -31) + "See the appendix for the full list of members.\n"},
            ESign::ShiftedAlphabet},
        std::pair{
            PageCase{
                "ScriptsAtRandom",
                "ࢳऄडగ\u09d5Ƅ Ƥࡐࢴ ߪ\u082fᅻ\u083fᆁᅒ ߪ፦ፉ ࡑࡥ "
                "ƣ७࣠ࠓ ࢳࡲࠆ णढ़ࣶƄ Ƥࡐᒾᒀ\n"
                "ડઆ\u0ba5\u0ba0 ጌዾ߈గ\u09d5Ƅ Ƥࡐࢴ ᏲᏌ ƥ ߈ᒾᒯᅴ࠶ᆄᅓ "
                "ƣƥƌ ߈ࢶइߥ࠼ಾಭ ƣƀ ࢼ࠹࣠ ƥ\n"},
            ESign::MixedScripts},
        std::pair{PageCase{"ArabicInLatinExtended",
                           "ȸǉȔɈȔčĎȪŽƲȪȻȔɈĸŬȹ́ȴĺĎǉȔƵɗȘşȸɗƦǉĸȔȸǎȒĸűșȔĈĶĈſɗȚŽĸȔĈȢȚŶəŶƷȔĈɈȔ\n"
                           "čřĎĸŪ ə ȳŶŬȹɑĢȹżȹΕʓĈŴĎŪĺʓĈʔĽȘǏ˻ȸĢȻȒƦȘȔĈ\n"},
                  ESign::RareLetters},
        std::pair{PageCase{"SerbianInPhoneticLetters",
                           "ʂʦʮʣʨʰʬʮʦˆʱʪ ʥʞ ʦʫʯʰʞʩʞʴʦˆʱ ʪʬʤʣʰʣ ʭʮʬʪʣʫʦʰʦ ʱ ʦʫʯʰʞʩʣʮʱ ʭʬʢʣʶʞʠʞˆʱˉʦ\n"
                           "ʈʞʨʬ ʯʣ ʪʣˈʞˆʱ ʬʠʞ ʦ ʢʮʱʡʣ ʬʭʴʦˆʣ ʭʮʦʨʞʥʞʫʬ ˆʣ ʫʞ ʯʩʦʴʦ\n"},
                  ESign::RareLetters},
        std::pair{PageCase{"LettersSwappedByAKey", Enciphered(kEnglish)}, ESign::OddPairs},
        std::pair{PageCase{"DigitsAndSignsForLetters",
                           "$B#B#H2p2`b2&1tQ/mb'Uky,V              1tQ/mb ky\n"
                           "$B#B#H2p2`b2&AA*Q'URk,kRV              k *Q`BMi?BMb Rk,kR\n"
                           "$B#B#H2p2`b2&1t'Uky,RdVUkR,jV          1tQ/mb ky,RdckR,j\n"
                           "$B#B#H2p2`b2&AA*Q`'URk,kR@jkV          k *Q`BMi?BMb Rk,kRĜjk\n"},
                  ESign::BrokenWords},
        std::pair{
            PageCase{"EnglishMovedIntoLatinExtendedA",
                     "ĒĆĎĖĒ ēĆă ēđÿčĒċćēăđÿēćĎč đĔċă ĄĎđ ēĆă āĎčĒĎčÿčēĒ ĖĆćāĆ ÿđă ĔĒăĂ ćč ēĆă\n"
                     "ċăÿĂćčą ÿčĂ ēđÿćċćčą ďĎĒćēćĎč ĎĄ ÿ ĒĘċċÿĀċă\n"
                     "ĆćĒ ďÿāĊÿąă ÿĒĒĔČăĒ ēĆÿē ăĕăđĘ ÿčąĔċ ĒĘċċÿĀċă ĆÿĒ Ďčă ÿđĊ ĖĆćāĆ ČĔĒē Āă\n"},
            ESign::ChaoticCase}),
    [](const auto& info) { return std::string(info.param.first.name); });

TEST(TextHealth, PageWithTooLittleTextIsNotJudged)
{
    const CTextHealth::CPage page = CTextHealth::JudgePage("\x01\x02\x03 7KH \uf731 17");
    EXPECT_FALSE(page.bJudged);
    EXPECT_FALSE(page.Garbled());
    EXPECT_FALSE(page.bGarbledIfUnmapped);
}

// Where the engine says fonts without a map drew the page, it fails on less:
// a short page, or Cyrillic that an 8-bit font gave as accented Latin.
// Sound text passes either way; what fails by its text fails by both.
TEST(TextHealth, StricterBarHoldsOnlyWhereFontsHaveNoMap)
{
    struct CCase
    {
        const char* name;
        std::string text;
        bool bGarbled;
        bool bGarbledIfUnmapped;
    };
    const std::vector<CCase> cases = {
        {"short page of controls", "\x01\x02\x03 7KH \uf731 17 \x04\x05\x06 4XLFN", false, true},
        {"Cyrillic as accented Latin",
         "2.5 \u00cf\u00ee\u00e4\u00e4\u00e5\u00f0\u00e6\u00ea\u00e0 "
         "\u00e8\u00ed\u00ee\u00f1\u00f2\u00f0\u00e0\u00ed\u00ed\u00fb\u00f5 "
         "\u00ff\u00e7\u00fb\u00ea\u00ee\u00e2 . . . . . . . . 25\n"
         "2.6 \u00cf\u00f0\u00ee\u00e1\u00e5\u00eb\u00fb "
         "\u00ec\u00e5\u00e6\u00e4\u00f3 \u00f1\u00eb\u00ee\u00e2\u00e0\u00ec\u00e8 "
         ". . . . . . . . 34\n",
         false, true},
        {"shifted English", Shifted(kEnglish, -29), true, true},
        {"English", kEnglish, false, false},
        {"short heading", "Chapter 3: Results and discussion", false, false},
        {"French",
         "Les \u00e9l\u00e8ves ont pr\u00e9sent\u00e9 leurs id\u00e9es \u00e0 la r\u00e9union "
         "g\u00e9n\u00e9rale de l'\u00e9cole, o\u00f9 le ma\u00eetre a \u00e9t\u00e9 "
         "f\u00e9licit\u00e9 pour son d\u00e9vouement.",
         false, false},
        {"Vietnamese",
         "Ti\u1ebfng Vi\u1ec7t l\u00e0 ng\u00f4n ng\u1eef ch\u00ednh th\u1ee9c c\u1ee7a "
         "Vi\u1ec7t Nam, \u0111\u01b0\u1ee3c s\u1eed d\u1ee5ng r\u1ed9ng r\u00e3i trong "
         "c\u1ea3 n\u01b0\u1edbc.",
         false, false},
    };
    for (const CCase& c : cases)
    {
        const CTextHealth::CPage page = CTextHealth::JudgePage(c.text);
        EXPECT_EQ(page.Garbled(), c.bGarbled) << c.name;
        EXPECT_EQ(page.bGarbledIfUnmapped, c.bGarbledIfUnmapped) << c.name;
    }
}

TEST(TextHealth, MixedText_FlagsOnlyItsBadPages)
{
    const std::string bad = Shifted(kEnglish, -29);
    const std::string text = kEnglish + "\f" + bad + "\f" + bad + "\f\f" + kEnglish + "\f" + bad;
    EXPECT_EQ(CTextHealth::GarbledPages(text), (std::vector<int>{2, 3, 6}));
}

TEST(TextHealth, SplitPages_LastFormFeedEndsTheLastPage)
{
    using Pages = std::vector<std::string_view>;
    EXPECT_EQ(CTextHealth::SplitPages("one\ftwo\f"), (Pages{"one", "two"}));
    EXPECT_EQ(CTextHealth::SplitPages("one\ftwo"), (Pages{"one", "two"}));
    EXPECT_EQ(CTextHealth::SplitPages("\f\f"), (Pages{"", ""}));
    EXPECT_EQ(CTextHealth::SplitPages(""), Pages{});
}

TEST(TextHealth, PageRanges_JoinsRunsOfPages)
{
    EXPECT_EQ(CTextHealth::PageRanges({}), "");
    EXPECT_EQ(CTextHealth::PageRanges({3}), "3");
    EXPECT_EQ(CTextHealth::PageRanges({3, 7, 8, 9}), "3, 7-9");
    EXPECT_EQ(CTextHealth::PageRanges({1, 2, 4, 6, 7}), "1-2, 4, 6-7");
}

TEST(CharClass, NextReadsOneCharacterAndStepsOverBrokenBytes)
{
    struct Case
    {
        std::string bytes;
        char32_t code;
        std::size_t length;
    };
    for (const Case& c : {Case{"A", U'A', 1}, Case{"é", U'é', 2}, Case{"中", U'中', 3},
                          Case{"𝑥", U'𝑥', 4}, Case{"\xC3", 0xFFFD, 1}, Case{"\xE4\xB8", 0xFFFD, 1},
                          Case{"\xC0\x80", 0xFFFD, 1}, Case{"\xE0\x80\x80", 0xFFFD, 1},
                          Case{"\xF4\x90\x80\x80", 0xFFFD, 1}, Case{"\x80", 0xFFFD, 1}})
    {
        std::size_t pos = 0;
        EXPECT_EQ(CCharClass::Next(c.bytes, pos), c.code) << c.bytes;
        EXPECT_EQ(pos, c.length) << c.bytes;
    }
}

namespace
{
std::string PdftotextOf(const std::string& pdf)
{
    std::string text;
    CChildRequest request;
    request.arguments = {CConverterContext::kDefaultToolName, "-layout", "-enc", "UTF-8", pdf, "-"};
    request.onOutput = [&text](const char* data, std::size_t size)
    {
        text.append(data, size);
        return 0;
    };
    const CChildResult result = CChildProcess::Run(request);
    EXPECT_EQ(result.nExitStatus, 0) << pdf << ": " << result.strErrorOutput;
    return text;
}

struct FixtureCase
{
    const char* file;
    std::vector<int> garbled;
};

void PrintTo(const FixtureCase& c, std::ostream* out)
{
    *out << c.file;
}

// The real pdftotext on real PDFs.
class RealPdfHealth : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (RealToolMissingOnWindows())
            GTEST_SKIP() << "no pdftotext.exe on PATH";
    }
};

class RealGarbledPdf : public RealPdfHealth, public ::testing::WithParamInterface<FixtureCase>
{
};
} // namespace

// The PDFs of tests/fixtures/garbled, made by its make.sh from real
// documents, through the real pdftotext.
TEST_P(RealGarbledPdf, FlagsTheGarbledPagesOnly)
{
    const std::string pdf = std::string(ZELTO_GARBLED_FIXTURES) + "/" + GetParam().file;
    EXPECT_EQ(CTextHealth::GarbledPages(PdftotextOf(pdf)), GetParam().garbled);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RealGarbledPdf,
    ::testing::Values(FixtureCase{"shifted.pdf", {1}}, FixtureCase{"symbols.pdf", {1}},
                      FixtureCase{"controls.pdf", {1}}, FixtureCase{"rare.pdf", {1}},
                      FixtureCase{"type3.pdf", {1}}, FixtureCase{"mixed.pdf", {2, 3}}));

TEST_F(RealPdfHealth, SoundPdfsInLatinAndChinesePass)
{
    CTempDir dir;
    const std::string latin = dir / "latin.pdf";
    CPdfMaker::Write(latin, {kEnglish, "Quarterly report\nSales rose by a third in the north."});
    EXPECT_EQ(CTextHealth::GarbledPages(PdftotextOf(latin)), std::vector<int>{});
    const std::string chinese =
        dir.Write("chinese.pdf",
                  CPdfMaker::BuildChinese(u"委员会于星期二召开会议，审议了年度预算。委员们一致同意"
                                          u"在考试期间延长图书馆的开放时间，并从下个月开始实施。"));
    EXPECT_EQ(CTextHealth::GarbledPages(PdftotextOf(chinese)), std::vector<int>{});
}
