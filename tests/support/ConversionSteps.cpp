#include "ConversionSteps.h"

#include "extract/Converter.h"
#include "platform/CancelFlag.h"
#include "platform/UserException.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
CConversionRun RunTool(const CConverter& converter, std::chrono::milliseconds cancelAfter)
{
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
    CConversionRun run = converter.RunConversion(cancel);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    canceller.join();
    return run;
}
} // namespace

bool CConversionSteps::Run(CConverter& converter,
                           std::optional<std::chrono::milliseconds> cancelAfter)
{
    try
    {
        converter.PrepareConversion();
        CConversionRun run =
            cancelAfter ? RunTool(converter, *cancelAfter) : converter.RunConversion(CCancelFlag());
        converter.FinishConversion(run);
        return true;
    }
    catch (const CUserException&)
    {
        return false;
    }
}
