#include "AddOperation.h"

#include "ConversionStartFailure.h"
#include "OperationCancelled.h"

#include "platform/MessageBox.h"
#include "platform/Prompts.h"
#include "platform/SystemErrorText.h"
#include "platform/UserException.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

CAddOperation::CAddOperation(CPrompts& prompts, const std::string& activePath)
    : m_prompts(prompts), m_strActivePath(activePath)
{
}

bool CAddOperation::Run(const std::function<void()>& operation)
{
    try
    {
        operation();
        return true;
    }
    catch (const CUserException&)
    {
        // The user has been told.
        return true;
    }
    catch (const COperationCancelled&)
    {
        // The person asked for it; there is nothing to tell.
        return true;
    }
    catch (...)
    {
        ReportStop(std::current_exception());
        return false;
    }
}

// Told in the words of a system error about the path it struck, as the
// failure nearly always is one: no memory, or another refusal of the system.
void CAddOperation::ReportStop(const std::exception_ptr& failure)
{
    try
    {
        std::string subject = m_strActivePath;
        int code = 0;
        std::string description;
        bool notStarted = false;
        try
        {
            std::rethrow_exception(failure);
        }
        catch (const CConversionStartFailure& error)
        {
            code = error.code().value();
            notStarted = true;
        }
        catch (const std::filesystem::filesystem_error& error)
        {
            subject = error.path1().string();
            code = error.code().value();
        }
        catch (const std::system_error& error)
        {
            code = error.code().value();
        }
        catch (const std::bad_alloc&)
        {
            code = ENOMEM;
        }
        catch (const std::exception& error)
        {
            description = std::string(error.what()) + "\n";
        }
        catch (...)
        {
            code = ECANCELED;
        }
        if (description.empty())
            description = CSystemErrorText::Describe(code);
        if (!notStarted)
        {
            m_prompts.ShowMessage(CMessageBox(EMessageStyle::Information, EMessageId::SystemError,
                                              {"", subject, description, code}));
            return;
        }
        // Said first, as the system's words alone would blame the file.
        m_prompts.ShowMessage(
            CMessageBox(EMessageStyle::Information, EMessageId::ConversionNotStarted)
                .Then(EMessageId::SystemError, {"", subject, description, code}));
    }
    catch (...)
    {
        // Without memory even the message may fail; the list stays as it is.
    }
}
