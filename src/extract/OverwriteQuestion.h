#pragma once

class CMessageBox;

// Whether an existing text file may be overwritten, as an add operation
// decides it: by asking, or by an answer that stands for the rest of the
// operation. User's thread only.
class COverwriteQuestion
{
public:
    struct CAnswer
    {
        bool bYes = false;
        // The question was put to the person rather than answered by a
        // standing answer.
        bool bAsked = false;
    };

    virtual ~COverwriteQuestion() = default;
    // `question` is the box that asks it.
    virtual CAnswer AskOverwrite(const CMessageBox& question) = 0;
};
