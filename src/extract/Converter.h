// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConversionRun.h"
#include "FileOutcome.h"

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CConverterContext;
class COverwriteQuestion;
class CPathRules;
struct CRunRequest;

// One listed file: the source it was made from and the text file it made,
// and the contract every kind of converter fulfils.
class CConverter
{
public:
    // A prototype: every string empty.
    explicit CConverter(std::shared_ptr<const CConverterContext> context);
    // A working converter for one source path, whose text file lies beside
    // it, or in `textFolder` (ending in a separator) when one is given.
    CConverter(const std::string& path, std::shared_ptr<const CConverterContext> context,
               const std::string& textFolder = {});
    virtual ~CConverter();

    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;

    // A new converter of the same kind for `path`, its text file in
    // `textFolder` (beside the source when empty), or null when none could
    // be made.
    virtual std::unique_ptr<CConverter> Create(const std::string& path,
                                               const std::string& textFolder) const = 0;
    // Whether this kind handles the path (judged by its name only).
    virtual bool Accepts(const std::string& path) const = 0;
    // Appends the extensions this kind handles, without their dots.
    virtual void AddExtensions(std::list<std::string>& extensions) const = 0;
    // Converts the source into the text file in three steps, so that the
    // tool runs of several files can overlap while everything the user sees
    // keeps its order: the checks and the overwrite question (this thread),
    // the tool run alone (any thread), and the judgement of what it left
    // (the user's thread again). Prepare gives the outcome of a file that is
    // dropped before its run, nothing when the file is to be run; Finish
    // gives the file's outcome, which says whether it is to be listed.
    // Neither shows anything: the outcome holds what is to be told.
    virtual std::optional<CFileOutcome> PrepareConversion(COverwriteQuestion& overwrite) = 0;
    virtual CConversionRun RunConversion(const CRunRequest& request) const = 0;
    virtual CFileOutcome FinishConversion(const CConversionRun& run) = 0;
    // A run of a cancelled operation, instead of Finish: whether it
    // succeeded, so that the file is listed without a word. Says nothing
    // either way. A run that did not succeed left the text file as it was.
    virtual bool FinishQuietly(const CConversionRun& run) = 0;
    // An outcome of this file with nothing told yet: converted and listed.
    CFileOutcome Outcome() const;
    // What the run going on is doing beyond converting, for the progress
    // indication to word; nothing when nothing. Any thread.
    virtual std::optional<CMessageCall> Activity() const { return std::nullopt; }

    // A list holds a converter for every file, so it is kept small: both
    // paths lie in one block the converter owns, and every string here is a
    // view into it. The paths never change and the converter never moves (it
    // cannot be copied or moved), so the views stay valid for its whole life.
    // A prototype's strings are all empty. No view is to be read past its
    // end: where a std::string is needed, one is made from the view.
    const std::string_view m_strSourcePath;
    const std::string_view m_strSourceFolder;
    const std::string_view m_strSourceName;
    const std::string_view m_strSourceExt;
    const std::string_view m_strTextPath;
    const std::string_view m_strTextFolder;
    const std::string_view m_strTextName;
    const std::string_view m_strTextExt;

protected:
    // The outcome of a file that cannot be opened for reading; nothing when
    // it can.
    std::optional<CFileOutcome> CheckFileAvailable(std::string_view path) const;
    // Follows the operation's rule for an existing text file, asking when it
    // says so: the outcome of a file that is not to be converted (listed
    // when its text is kept), nothing when it is.
    std::optional<CFileOutcome> CheckTextFileOverwrite(std::string_view path,
                                                       COverwriteQuestion& overwrite) const;
    // Whether the source was changed after its text file was written.
    static bool IsSourceNewer(std::string_view source, std::string_view text);
    CFileOutcome KeptText(std::string_view path, EMessageId id, EFileOutcome kind) const;

    const CConverterContext& Context() const { return *m_pContext; }
    const std::shared_ptr<const CConverterContext>& SharedContext() const { return m_pContext; }

private:
    // The block of the two paths and where their parts lie.
    struct CLayout
    {
        // The source path, a NUL, the text path, a NUL, so that each path
        // is also a C string underneath; none for a prototype.
        std::unique_ptr<char[]> pPaths;
        std::size_t nSourceLength = 0;
        std::size_t nTextLength = 0;
        std::size_t nFolderLength = 0;
        std::size_t nTextFolderLength = 0;
        // The source's extension without its dot; none when it is shorter
        // than 2 characters with its dot.
        std::size_t nSourceExtLength = 0;
    };

    static CLayout LayOut(std::string_view path, std::string_view textFolder,
                          const CPathRules& rules);
    CConverter(CLayout layout, const std::shared_ptr<const CConverterContext>& context);
    // The block the views of `layout` lie in.
    static const char* PathsOf(const CLayout& layout);

    std::unique_ptr<char[]> m_pPaths;
    std::shared_ptr<const CConverterContext> m_pContext;
};
