// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExtractArguments.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
CExtractOptions Parsed(const std::vector<std::string>& arguments)
{
    CExtractArguments::CResult result = CExtractArguments::Parse(arguments);
    EXPECT_EQ(result.strError, "");
    return result.options;
}

struct ParseCase
{
    const char* name;
    std::vector<std::string> arguments;
    std::function<bool(const CExtractOptions&)> holds;
};

void PrintTo(const ParseCase& c, std::ostream* out)
{
    *out << c.name;
}

class ValidArguments : public ::testing::TestWithParam<ParseCase>
{
};

struct ErrorCase
{
    const char* name;
    std::vector<std::string> arguments;
    // What the message must name.
    const char* named;
};

void PrintTo(const ErrorCase& c, std::ostream* out)
{
    *out << c.name;
}

class UnusableArguments : public ::testing::TestWithParam<ErrorCase>
{
};
} // namespace

TEST_P(ValidArguments, AreTakenAsMeant)
{
    EXPECT_TRUE(GetParam().holds(Parsed(GetParam().arguments)));
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, ValidArguments,
    ::testing::Values(
        ParseCase{"PathsInOrder",
                  {"b", "a.pdf"},
                  [](const CExtractOptions& o) {
                      return o.paths == std::vector<std::string>{"b", "a.pdf"} && !o.jobs;
                  }},
        ParseCase{"ValueAfterOrWithEquals",
                  {"--jobs", "3", "--time-limit=0", "-j", "5", "x"},
                  [](const CExtractOptions& o) { return o.jobs == 5 && o.timeLimitSeconds == 0; }},
        ParseCase{
            "DashAloneAndAfterEndOfOptionsArePaths",
            {"-", "--", "--jobs", "-0"},
            [](const CExtractOptions& o) {
                return o.paths == std::vector<std::string>{"-", "--jobs", "-0"} && !o.bNulSeparated;
            }},
        ParseCase{"EveryRuleLayoutAndEngine",
                  {"--existing", "newer", "--layout", "raw", "--engine", "pdftotext", "x"},
                  [](const CExtractOptions& o)
                  {
                      return o.existing == EExistingText::ReplaceWhenNewer &&
                             o.layout == CTextForm::ELayout::Raw &&
                             o.engine == CConversionOptions::EEngine::Pdftotext;
                  }},
        ParseCase{"SkipIsKeep",
                  {"--existing=skip", "--layout=reading", "x"},
                  [](const CExtractOptions& o) {
                      return o.existing == EExistingText::Keep &&
                             o.layout == CTextForm::ELayout::ReadingOrder;
                  }},
        ParseCase{"Flags",
                  {"--crlf", "--no-page-breaks", "--bom", "--ocr", "-q", "--from", "-", "-0"},
                  [](const CExtractOptions& o)
                  {
                      return o.bCrLf && o.bNoPageBreaks && o.bByteOrderMark && o.bOcr && o.bQuiet &&
                             o.fromFile == "-" && o.bNulSeparated && o.paths.empty();
                  }},
        ParseCase{"ShardAndReport",
                  {"--shard", "2/3", "--report", "r.jsonl", "x"},
                  [](const CExtractOptions& o)
                  { return o.shard && o.shard->Takes("") == (CShard::PartOf("", 3) == 2); }},
        ParseCase{"PasswordFile",
                  {"--password-file=pw.txt", "x"},
                  [](const CExtractOptions& o) { return o.passwordFile == "pw.txt"; }},
        ParseCase{
            "HelpNeedsNoPath", {"--help"}, [](const CExtractOptions& o) { return o.bHelp; }}));

TEST_P(UnusableArguments, AreRefusedNamingWhatIsWrong)
{
    std::string error = CExtractArguments::Parse(GetParam().arguments).strError;
    EXPECT_NE(error.find(GetParam().named), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    EveryMistake, UnusableArguments,
    ::testing::Values(ErrorCase{"UnknownOption", {"--jobz", "2", "x"}, "--jobz"},
                      ErrorCase{"MissingValue", {"x", "--report"}, "--report"},
                      ErrorCase{"NoJobs", {"--jobs", "0", "x"}, "'0'"},
                      ErrorCase{"TooManyJobs", {"--jobs", "65", "x"}, "'65'"},
                      ErrorCase{"JobsNotANumber", {"--jobs", "2x", "x"}, "'2x'"},
                      ErrorCase{"NegativeTimeLimit", {"--time-limit", "-1", "x"}, "'-1'"},
                      ErrorCase{"UnknownRule", {"--existing", "keep", "x"}, "'keep'"},
                      ErrorCase{"UnknownLayout", {"--layout", "columns", "x"}, "'columns'"},
                      ErrorCase{"UnknownEngine", {"--engine", "poppler", "x"}, "'poppler'"},
                      ErrorCase{"ShardPastItsCount", {"--shard", "4/3", "x"}, "'4/3'"},
                      ErrorCase{"ShardFromZero", {"--shard", "0/3", "x"}, "'0/3'"},
                      ErrorCase{"EmptyTextFolder", {"--text-folder=", "x"}, "--text-folder"},
                      ErrorCase{
                          "EmptyPasswordFile", {"--password-file", "", "x"}, "--password-file"},
                      ErrorCase{"ReportOfNoKnownForm", {"--report", "r.txt", "x"}, "r.txt"},
                      ErrorCase{"NothingToConvert", {"--jobs", "2"}, "no file"},
                      ErrorCase{"NulWithoutList", {"-0", "x"}, "-0"}));
