#pragma once

#include <exception>
#include <functional>
#include <string>

class CPrompts;

// Runs one add operation (a paste, a drop, Add..., Add Folder...) so that
// nothing escapes it: the window calls these from its event handlers. A
// failure that no file's or folder's own handling takes (memory running
// out) ends the operation and is told in a plain message naming the path the
// operation was at; what was added before it stays.
class CAddOperation
{
public:
    // `activePath` is where the operation is; it is read only on failure.
    CAddOperation(CPrompts& prompts, const std::string& activePath);

    // Returns false when the operation was ended by a failure.
    bool Run(const std::function<void()>& operation);

private:
    void ReportStop(const std::exception_ptr& failure);

    CPrompts& m_prompts;
    const std::string& m_strActivePath;
};
