// SPDX-License-Identifier: GPL-3.0-or-later
#include "Converter.h"

#include "ConverterContext.h"
#include "OverwriteQuestion.h"
#include "platform/FileProbe.h"

namespace
{
constexpr std::string_view kTextExt = "txt";
// A prototype's block: two empty paths, so that its views lie where a real
// converter's would.
constexpr char kNoPaths[] = "\0";
} // namespace

CConverter::CConverter(std::shared_ptr<const CConverterContext> context)
    : CConverter(CLayout{}, context)
{
}

CConverter::CConverter(const std::string& path, std::shared_ptr<const CConverterContext> context,
                       const std::string& textFolder)
    : CConverter(LayOut(path, textFolder, context ? context->PathRules() : CPathRules::Native()),
                 context)
{
}

// The views are taken before the block moves into m_pPaths; moving the
// owner does not move the characters.
CConverter::CConverter(CLayout layout, const std::shared_ptr<const CConverterContext>& context)
    : m_strSourcePath(PathsOf(layout), layout.nSourceLength),
      m_strSourceFolder(m_strSourcePath.substr(0, layout.nFolderLength)),
      m_strSourceName(m_strSourcePath.substr(layout.nFolderLength)),
      m_strSourceExt(m_strSourcePath.substr(layout.nSourceLength - layout.nSourceExtLength)),
      m_strTextPath(PathsOf(layout) + layout.nSourceLength + 1, layout.nTextLength),
      m_strTextFolder(m_strTextPath.substr(0, layout.nTextFolderLength)),
      m_strTextName(m_strTextPath.substr(layout.nTextFolderLength)),
      m_strTextExt(
          m_strTextPath.substr(layout.nTextLength == 0 ? 0 : layout.nTextLength - kTextExt.size())),
      m_pPaths(std::move(layout.pPaths)), m_pContext(context)
{
}

CConverter::~CConverter() = default;

const char* CConverter::PathsOf(const CLayout& layout)
{
    return layout.pPaths ? layout.pPaths.get() : kNoPaths;
}

// The text file has the source's base name and the extension "txt", in the
// source's folder unless a text folder is given.
CConverter::CLayout CConverter::LayOut(std::string_view path, std::string_view textFolder,
                                       const CPathRules& rules)
{
    CSplitPath parts = rules.Split(path);
    CLayout layout;
    layout.nSourceLength = path.size();
    layout.nFolderLength = parts.strDrive.size() + parts.strDir.size();
    if (textFolder.empty())
        textFolder = path.substr(0, layout.nFolderLength);
    layout.nTextFolderLength = textFolder.size();
    // A lone dot is no extension.
    layout.nSourceExtLength = parts.strExt.size() < 2 ? 0 : parts.strExt.size() - 1;
    layout.nTextLength = textFolder.size() + parts.strBaseName.size() + 1 + kTextExt.size();
    layout.pPaths = std::make_unique_for_overwrite<char[]>(path.size() + layout.nTextLength + 2);
    char* end = layout.pPaths.get();
    end += path.copy(end, path.size());
    *end++ = '\0';
    end += textFolder.copy(end, textFolder.size());
    end += parts.strBaseName.copy(end, parts.strBaseName.size());
    *end++ = '.';
    end += kTextExt.copy(end, kTextExt.size());
    *end = '\0';
    return layout;
}

// Modification times are kept to 2 seconds on FAT and to a second on some
// network file systems; a source counts as newer only beyond that.
bool CConverter::IsSourceNewer(std::string_view source, std::string_view text)
{
    constexpr std::int64_t kMarginNs = 2'000'000'000;
    std::optional<CFileStamp> sourceStamp = CFileProbe::Stamp(std::string(source));
    std::optional<CFileStamp> textStamp = CFileProbe::Stamp(std::string(text));
    if (!sourceStamp || !textStamp)
        return true;
    return sourceStamp->nModifiedNs > textStamp->nModifiedNs + kMarginNs;
}

// Listed as it is, told in the report only.
CFileOutcome CConverter::KeptText(std::string_view path, EMessageId id, EFileOutcome kind) const
{
    CFileOutcome outcome = Outcome();
    outcome.Add(CReason(kind, m_strSourcePath, id, {path}));
    return outcome;
}

CFileOutcome CConverter::Outcome() const
{
    CFileOutcome outcome;
    outcome.strSourcePath.assign(m_strSourcePath);
    outcome.strTextPath.assign(m_strTextPath);
    return outcome;
}

std::optional<CFileOutcome> CConverter::CheckFileAvailable(std::string_view path) const
{
    if (CFileProbe::CheckReadable(std::string(path)) == 0)
        return std::nullopt;
    // The same words stand for every reason the file cannot be opened.
    CFileOutcome outcome = Outcome();
    outcome.bListed = false;
    outcome.Add(CReason(EFileOutcome::CouldNotOpen, path, EMessageId::FileIgnored, {path})
                    .Then(EMessageId::FileInUse));
    return outcome;
}

std::optional<CFileOutcome> CConverter::CheckTextFileOverwrite(std::string_view path,
                                                               COverwriteQuestion& overwrite) const
{
    if (!CFileProbe::Exists(std::string(path)))
        return std::nullopt;
    if (std::optional<CFileOutcome> unavailable = CheckFileAvailable(path))
        return unavailable;
    switch (overwrite.ExistingText())
    {
    case EExistingText::Ask:
        break;
    case EExistingText::Keep:
        return KeptText(path, EMessageId::TextKept, EFileOutcome::Kept);
    case EExistingText::ReplaceWhenNewer:
        if (IsSourceNewer(m_strSourcePath, path))
            return std::nullopt;
        return KeptText(path, EMessageId::TextUpToDate, EFileOutcome::UpToDate);
    case EExistingText::Replace:
        return std::nullopt;
    }
    COverwriteQuestion::CAnswer answer = overwrite.AskOverwrite(path);
    if (answer.bYes)
        return std::nullopt;
    CFileOutcome outcome = Outcome();
    outcome.bListed = false;
    outcome.bAsked = answer.bAsked;
    outcome.Add(COverwriteQuestion::Question(path));
    return outcome;
}
