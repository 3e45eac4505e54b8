// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtractArguments.h"

#include "doc/AddOptions.h"
#include "platform/MessageTable.h"

#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

namespace
{
std::optional<int> Number(std::string_view text, int low, int high)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

std::optional<EExistingText> ExistingRule(std::string_view text)
{
    if (text == "ask")
        return EExistingText::Ask;
    if (text == "skip")
        return EExistingText::Keep;
    if (text == "newer")
        return EExistingText::ReplaceWhenNewer;
    if (text == "replace")
        return EExistingText::Replace;
    return std::nullopt;
}

std::optional<CTextForm::ELayout> Layout(std::string_view text)
{
    if (text == "physical")
        return CTextForm::ELayout::Physical;
    if (text == "reading")
        return CTextForm::ELayout::ReadingOrder;
    if (text == "raw")
        return CTextForm::ELayout::Raw;
    return std::nullopt;
}

std::optional<CConversionOptions::EEngine> Engine(std::string_view text)
{
    if (text == "workers")
        return CConversionOptions::EEngine::Workers;
    if (text == "pdftotext")
        return CConversionOptions::EEngine::Pdftotext;
    return std::nullopt;
}

// Takes an option's value into the options; false when the value is not one
// the option accepts.
using FTakeValue = std::function<bool(CExtractOptions&, const std::string&)>;

struct CValueOption
{
    FTakeValue take;
    // Says what is wrong with a value: the message and its one argument
    // beside the value.
    EMessageId badValue;
    int nLimit = 0;
};

template <typename T> bool Store(std::optional<T>& slot, std::optional<T> value)
{
    if (value)
        slot = value;
    return value.has_value();
}

bool StoreText(std::optional<std::string>& slot, const std::string& value)
{
    if (value.empty())
        return false;
    slot = value;
    return true;
}

const std::map<std::string_view, CValueOption>& ValueOptions()
{
    using O = CExtractOptions;
    using S = const std::string&;
    constexpr int kMaxJobs = CAddOptions::kMaxConversionsAtOnce;
    constexpr int kMaxSeconds = CAddOptions::kMaxTimeLimitSeconds;
    constexpr int kMaxParts = 1'000'000;
    constexpr int kMaxWatchSeconds = 3600;
    static const std::map<std::string_view, CValueOption> options = {
        {"--jobs",
         {[](O& o, S v) { return Store(o.jobs, Number(v, 1, kMaxJobs)); },
          EMessageId::CommandBadJobs, kMaxJobs}},
        {"--time-limit",
         {[](O& o, S v) { return Store(o.timeLimitSeconds, Number(v, 0, kMaxSeconds)); },
          EMessageId::CommandBadTimeLimit, kMaxSeconds}},
        {"--text-folder",
         {[](O& o, S v) { return StoreText(o.textFolder, v); }, EMessageId::CommandBadText}},
        {"--existing",
         {[](O& o, S v) { return Store(o.existing, ExistingRule(v)); },
          EMessageId::CommandBadExisting}},
        {"--layout",
         {[](O& o, S v) { return Store(o.layout, Layout(v)); }, EMessageId::CommandBadLayout}},
        {"--engine",
         {[](O& o, S v) { return Store(o.engine, Engine(v)); }, EMessageId::CommandBadEngine}},
        {"--ocr-languages",
         {[](O& o, S v) { return StoreText(o.ocrLanguages, v); }, EMessageId::CommandBadText}},
        {"--from",
         {[](O& o, S v) { return StoreText(o.fromFile, v); }, EMessageId::CommandBadText}},
        {"--password-file",
         {[](O& o, S v) { return StoreText(o.passwordFile, v); }, EMessageId::CommandBadText}},
        {"--report",
         {[](O& o, S v) { return (o.reportPath = v, !v.empty()); }, EMessageId::CommandBadText}},
        {"--shard",
         {[](O& o, S v)
          { return (o.bShardAuto = v == "auto") || Store(o.shard, CShard::Parse(v)); },
          EMessageId::CommandBadShard}},
        {"--shard-count",
         {[](O& o, S v) { return Store(o.shardCount, Number(v, 1, kMaxParts)); },
          EMessageId::CommandBadJobs, kMaxParts}},
        {"--settle",
         {[](O& o, S v) { return Store(o.settleSeconds, Number(v, 0, kMaxWatchSeconds)); },
          EMessageId::CommandBadSeconds, kMaxWatchSeconds}},
        {"--poll",
         {[](O& o, S v) { return Store(o.pollSeconds, Number(v, 1, kMaxWatchSeconds)); },
          EMessageId::CommandBadJobs, kMaxWatchSeconds}},
        {"--settings",
         {[](O& o, S v) { return StoreText(o.settingsPath, v); }, EMessageId::CommandBadText}},
    };
    return options;
}

const std::map<std::string_view, std::function<void(CExtractOptions&)>>& Flags()
{
    using O = CExtractOptions;
    static const std::map<std::string_view, std::function<void(O&)>> flags = {
        {"--crlf", [](O& o) { o.bCrLf = true; }},
        {"--no-page-breaks", [](O& o) { o.bNoPageBreaks = true; }},
        {"--bom", [](O& o) { o.bByteOrderMark = true; }},
        {"--ocr", [](O& o) { o.bOcr = true; }},
        {"--no-garbled-check", [](O& o) { o.bNoGarbledCheck = true; }},
        {"-0", [](O& o) { o.bNulSeparated = true; }},
        {"--null", [](O& o) { o.bNulSeparated = true; }},
        {"--quiet", [](O& o) { o.bQuiet = true; }},
        {"-q", [](O& o) { o.bQuiet = true; }},
        {"--help", [](O& o) { o.bHelp = true; }},
        {"-h", [](O& o) { o.bHelp = true; }},
        {"--version", [](O& o) { o.bVersion = true; }},
        {"--watch", [](O& o) { o.bWatch = true; }},
    };
    return flags;
}

// Short forms of options with a value.
std::string_view LongName(std::string_view name)
{
    if (name == "-j")
        return "--jobs";
    return name;
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// What is wrong with the options as a whole.
std::string CheckTogether(const CExtractOptions& options)
{
    if (options.bHelp || options.bVersion)
        return {};
    if (options.paths.empty() && !options.fromFile)
        return CMessageTable::Format(EMessageId::CommandNoPaths);
    if (options.bWatch && options.fromFile)
        return CMessageTable::Format(EMessageId::WatchWithList);
    if (!options.bWatch && (options.settleSeconds || options.pollSeconds))
        return CMessageTable::Format(EMessageId::WatchOptionWithoutWatch,
                                     {options.pollSeconds ? "--poll" : "--settle"});
    if (options.bNulSeparated && !options.fromFile)
        return CMessageTable::Format(EMessageId::CommandNulWithoutFrom);
    if (!options.reportPath.empty() && !EndsWith(options.reportPath, ".csv") &&
        !EndsWith(options.reportPath, ".jsonl"))
        return CMessageTable::Format(EMessageId::CommandBadReportName, {options.reportPath});
    return {};
}
} // namespace

CExtractArguments::CResult CExtractArguments::Parse(const std::vector<std::string>& arguments)
{
    CResult result;
    CExtractOptions& options = result.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-')
        {
            options.paths.push_back(argument);
            continue;
        }
        if (argument == "--")
        {
            optionsEnded = true;
            continue;
        }
        std::size_t equals = argument.find('=');
        std::string_view name = LongName(std::string_view(argument).substr(0, equals));
        if (auto flag = Flags().find(argument); flag != Flags().end())
        {
            flag->second(options);
            continue;
        }
        auto option = ValueOptions().find(name);
        if (option == ValueOptions().end())
        {
            result.strError = CMessageTable::Format(EMessageId::CommandUnknownOption, {argument});
            return result;
        }
        std::optional<std::string> value;
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (i + 1 < arguments.size())
            value = arguments[++i];
        if (!value)
        {
            result.strError = CMessageTable::Format(EMessageId::CommandNeedsValue, {name});
            return result;
        }
        if (!option->second.take(options, *value))
        {
            result.strError = CMessageTable::Format(option->second.badValue,
                                                    {*value, name, option->second.nLimit});
            return result;
        }
    }
    result.strError = CheckTogether(options);
    return result;
}
