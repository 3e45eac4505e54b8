// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionSteps.h"

#include "doc/AddReport.h"
#include "doc/MessagePresenter.h"
#include "doc/ReasonWording.h"
#include "extract/ConversionOptions.h"
#include "extract/Converter.h"
#include "extract/OverwriteQuestion.h"
#include "person/Prompts.h"
#include "platform/CancelFlag.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
// The question as a single file added alone asks it.
class CAskEachTime : public COverwriteQuestion
{
public:
    explicit CAskEachTime(CPrompts& prompts) : m_prompts(prompts) {}
    CAnswer AskOverwrite(std::string_view textPath) override
    {
        return {m_prompts.ShowMessage(CReasonWording::Box(Question(textPath))) == EAnswer::Yes,
                true};
    }

private:
    CPrompts& m_prompts;
};

CConversionRun RunTool(const CConverter& converter, std::chrono::milliseconds cancelAfter)
{
    CConversionOptions options;
    CCancelFlag cancel;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread canceller(
        [&]
        {
            std::unique_lock lock(mutex);
            if (!finished.wait_for(lock, cancelAfter, [&] { return done; }))
                cancel.Request();
        });
    CConversionRun run = converter.RunConversion({options, cancel, {}});
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    canceller.join();
    return run;
}
} // namespace

CFileOutcome CConversionSteps::Run(CConverter& converter, CPrompts& prompts,
                                   std::optional<std::chrono::milliseconds> cancelAfter)
{
    CAskEachTime overwrite(prompts);
    std::optional<CFileOutcome> outcome = converter.PrepareConversion(overwrite);
    if (!outcome)
    {
        CConversionOptions options;
        CCancelFlag cancel;
        CConversionRun run = cancelAfter ? RunTool(converter, *cancelAfter)
                                         : converter.RunConversion({options, cancel, {}});
        outcome = converter.FinishConversion(run);
    }
    CAddReport report;
    CMessagePresenter(prompts, report, false).Present(*outcome, false);
    return *outcome;
}
