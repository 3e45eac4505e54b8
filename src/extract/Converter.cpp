#include "Converter.h"

#include "ConverterContext.h"
#include "platform/FileProbe.h"
#include "platform/MessageBox.h"
#include "platform/Prompts.h"
#include "platform/UserException.h"

#include <stdexcept>

namespace
{
constexpr std::string_view kTextExt = "txt";
} // namespace

CConverter::CConverter(std::shared_ptr<const CConverterContext> context)
    : CConverter(CLayout{}, context)
{
}

CConverter::CConverter(const std::string& path, std::shared_ptr<const CConverterContext> context)
    : CConverter(LayOut(path, context ? context->PathRules() : CPathRules::Native()), context)
{
}

CConverter::CConverter(CLayout layout, const std::shared_ptr<const CConverterContext>& context)
    : m_strSourcePath(std::move(layout.strSource)),
      m_strSourceFolder(std::string_view(m_strSourcePath).substr(0, layout.nFolderLength)),
      m_strSourceName(std::string_view(m_strSourcePath).substr(layout.nFolderLength)),
      m_strSourceExt(std::string_view(m_strSourcePath)
                         .substr(m_strSourcePath.size() - layout.nSourceExtLength)),
      m_strTextPath(std::move(layout.strText)),
      m_strTextFolder(std::string_view(m_strTextPath).substr(0, layout.nFolderLength)),
      m_strTextName(std::string_view(m_strTextPath).substr(layout.nFolderLength)),
      m_strTextExt(std::string_view(m_strTextPath)
                       .substr(m_strTextPath.empty() ? 0 : m_strTextPath.size() - kTextExt.size())),
      m_pContext(context)
{
}

CConverter::~CConverter() = default;

// The text file has the source's folder and base name, and the extension
// "txt".
CConverter::CLayout CConverter::LayOut(const std::string& path, const CPathRules& rules)
{
    CSplitPath parts = rules.Split(path);
    CLayout layout;
    layout.strSource = path;
    layout.nFolderLength = parts.strDrive.size() + parts.strDir.size();
    // A lone dot is no extension.
    layout.nSourceExtLength = parts.strExt.size() < 2 ? 0 : parts.strExt.size() - 1;
    layout.strText.reserve(layout.nFolderLength + parts.strBaseName.size() + 1 + kTextExt.size());
    layout.strText.append(path, 0, layout.nFolderLength)
        .append(parts.strBaseName)
        .append(".")
        .append(kTextExt);
    return layout;
}

void CConverter::CheckFileAvailable(const std::string& path) const
{
    if (CFileProbe::CheckReadable(path) == 0)
        return;
    // The same words stand for every reason the file cannot be opened.
    Prompts().ShowMessage(CMessageBox(EMessageStyle::InUse, EMessageId::FileIgnored, {path})
                              .Then(EMessageId::FileInUse)
                              .About(path, EFileOutcome::CouldNotOpen));
    throw CUserException();
}

void CConverter::CheckTextFileOverwrite(const std::string& path) const
{
    if (!CFileProbe::Exists(path))
        return;
    CheckFileAvailable(path);
    EAnswer answer = Prompts().ShowMessage(
        CMessageBox(EMessageStyle::Prompt, EMessageId::OverwriteQuestion, {path})
            .About(path, EFileOutcome::NotOverwritten));
    if (answer != EAnswer::Yes)
        throw CUserException();
}

CPrompts& CConverter::Prompts() const
{
    CPrompts* prompts = m_pContext ? m_pContext->Prompts() : nullptr;
    if (!prompts)
        throw std::logic_error("converter used before the prompts were set up");
    return *prompts;
}
