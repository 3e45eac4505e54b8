// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "person/PathSources.h"
#include "person/ProgressIndication.h"
#include "person/Prompts.h"

#include <QPointer>
#include <QWidget>

class CConversionWait;
class QMessageBox;

// The prompts, the progress of add operations and the path choosers of the
// program, with real Qt widgets. Every method runs on the GUI thread, but
// NotifyConversionsChanged, which may be called from any thread.
class CQtPrompts : public CPrompts, public CProgressIndication, public CPathSources
{
public:
    // `parent` is the window the dialogs belong to (the main window); when
    // it is null or gone, the active window is used.
    explicit CQtPrompts(QWidget* parent = nullptr);
    ~CQtPrompts() override;

    void SetParentWindow(QWidget* parent) { m_pParent = parent; }

    EAnswer ShowMessage(const CMessageBox& box) override;
    CCheckedAnswer ShowMessageWithCheckBox(const CMessageBox& box, EMessageId checkLabel) override;
    int AskFolderQuestion(const std::string& question) override;
    CPasswordAnswer AskPassword(const CPasswordRequest& request) override;
    std::vector<std::string> ChooseFiles(const std::string& filter,
                                         const std::string& initialFolder) override;
    std::optional<std::string> ChooseFolder(const std::string& initialFolder,
                                            const std::string& statusText) override;
    std::optional<std::vector<std::string>> ClipboardFiles() override;
    void WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel) override;
    void NotifyConversionsChanged() override;
    void EndConversions() override;

    // The message box that ShowMessage would show, ready to be run.
    static void Prepare(QMessageBox& messageBox, const CMessageBox& box);

private:
    QWidget* DialogParent() const;
    static EAnswer Run(QMessageBox& messageBox, const CMessageBox& box);
    static void BringToFront(QMessageBox& messageBox);

    QPointer<QWidget> m_pParent;
    std::unique_ptr<CConversionWait> m_pConversionWait;
};
