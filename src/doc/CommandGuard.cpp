// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandGuard.h"

#include "ConversionStartFailure.h"
#include "OperationCancelled.h"

#include "person/MessageBox.h"
#include "person/Prompts.h"
#include "platform/SystemErrorText.h"

#include <filesystem>
#include <new>
#include <system_error>

CCommandGuard::CCommandGuard(CPrompts& prompts, const std::string& activePath)
    : m_prompts(prompts), m_strActivePath(activePath)
{
}

bool CCommandGuard::Run(const std::function<void()>& work, const std::function<void()>& always)
{
    bool ok = true;
    for (const std::function<void()>* step : {&work, &always})
    {
        if (!*step)
            continue;
        try
        {
            (*step)();
        }
        catch (const COperationCancelled&)
        {
            // The person asked for it; there is nothing to tell.
        }
        catch (...)
        {
            if (ok)
                ReportStop(std::current_exception());
            ok = false;
        }
    }
    return ok;
}

// Told in the words of a system error about the path it struck, as the
// failure nearly always is one: no memory, or another refusal of the system.
void CCommandGuard::ReportStop(const std::exception_ptr& failure)
{
    try
    {
        std::string subject = m_strActivePath;
        int code = 0;
        std::string description;
        bool notStarted = false;
        // Tells of a code in the words its own numbering has for it.
        auto take = [&](const std::error_code& error)
        {
            code = error.value();
            description = CSystemErrorText::Describe(error);
        };
        try
        {
            std::rethrow_exception(failure);
        }
        catch (const CConversionStartFailure& error)
        {
            take(error.code());
            notStarted = true;
        }
        catch (const std::filesystem::filesystem_error& error)
        {
            subject = error.path1().string();
            take(error.code());
        }
        catch (const std::system_error& error)
        {
            take(error.code());
        }
        catch (const std::bad_alloc&)
        {
            code = CSystemErrorText::OutOfMemoryCode();
        }
        catch (const std::exception& error)
        {
            description = std::string(error.what()) + "\n";
        }
        catch (...)
        {
            code = CSystemErrorText::CancelledCode();
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
