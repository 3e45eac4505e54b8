#pragma once

#include <chrono>
#include <optional>

class CConverter;

// Takes one converter through the steps an add operation takes with each
// file (prepare, run the tool, finish), all on the calling thread.
class CConversionSteps
{
public:
    // Tells whether the file is to be listed. With `cancelAfter`, a cancel
    // is asked for once the tool has run that long.
    static bool Run(CConverter& converter,
                    std::optional<std::chrono::milliseconds> cancelAfter = std::nullopt);
};
