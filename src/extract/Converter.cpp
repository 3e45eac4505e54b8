#include "Converter.h"

#include "ConverterContext.h"
#include "platform/FileProbe.h"
#include "platform/MessageBox.h"
#include "platform/Prompts.h"
#include "platform/UserException.h"

#include <stdexcept>

CConverter::CConverter(std::shared_ptr<const CConverterContext> context)
    : m_pContext(std::move(context))
{
}

CConverter::CConverter(const std::string& path, std::shared_ptr<const CConverterContext> context)
    : m_pContext(std::move(context))
{
    SetSourcePath(path);
}

CConverter::~CConverter() = default;

void CConverter::SetSourcePath(const std::string& path)
{
    m_strSourcePath = path;
    const CPathRules& rules = m_pContext ? m_pContext->PathRules() : CPathRules::Native();
    CSplitPath parts = rules.Split(path);
    m_strSourceFolder = parts.strDrive + parts.strDir;
    m_strSourceName = parts.strBaseName + parts.strExt;
    // A lone dot is no extension.
    m_strSourceExt = parts.strExt.size() < 2 ? std::string() : parts.strExt.substr(1);
    m_strTextFolder = m_strSourceFolder;
    m_strTextExt = "txt";
    m_strTextName = parts.strBaseName + "." + m_strTextExt;
    m_strTextPath = m_strTextFolder + m_strTextName;
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
