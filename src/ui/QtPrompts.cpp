// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtPrompts.h"

#include "ClipboardFileList.h"
#include "ConversionWait.h"
#include "FileDialogs.h"
#include "dialogs/PasswordDlg.h"
#include "dialogs/QtText.h"
#include "dialogs/YesNoAllDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

namespace
{
// A box or question shows the normal cursor over a busy one, as it waits
// for the person.
class CNormalCursor
{
public:
    CNormalCursor() : m_bOverBusy(QApplication::overrideCursor() != nullptr)
    {
        if (m_bOverBusy)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~CNormalCursor()
    {
        if (m_bOverBusy)
            QApplication::restoreOverrideCursor();
    }
    CNormalCursor(const CNormalCursor&) = delete;
    CNormalCursor& operator=(const CNormalCursor&) = delete;

private:
    bool m_bOverBusy;
};
} // namespace

CQtPrompts::CQtPrompts(QWidget* parent)
    : m_pParent(parent), m_pConversionWait(std::make_unique<CConversionWait>())
{
}

CQtPrompts::~CQtPrompts() = default;

QWidget* CQtPrompts::DialogParent() const
{
    if (m_pParent)
        return m_pParent;
    return QApplication::activeWindow();
}

EAnswer CQtPrompts::ShowMessage(const CMessageBox& box)
{
    QMessageBox messageBox(DialogParent());
    Prepare(messageBox, box);
    return Run(messageBox, box);
}

CCheckedAnswer CQtPrompts::ShowMessageWithCheckBox(const CMessageBox& box, EMessageId checkLabel)
{
    QMessageBox messageBox(DialogParent());
    Prepare(messageBox, box);
    auto* check = new QCheckBox(CQtText::Message(checkLabel), &messageBox);
    messageBox.setCheckBox(check);
    EAnswer answer = Run(messageBox, box);
    return {answer, check->isChecked()};
}

EAnswer CQtPrompts::Run(QMessageBox& messageBox, const CMessageBox& box)
{
    if (box.Style() == EMessageStyle::InUse || box.Style() == EMessageStyle::Prompt)
        BringToFront(messageBox);
    CNormalCursor normal;
    messageBox.exec();
    if (box.Style() != EMessageStyle::Prompt)
        return EAnswer::Ok;
    return messageBox.clickedButton() == messageBox.button(QMessageBox::Yes) ? EAnswer::Yes
                                                                             : EAnswer::No;
}

void CQtPrompts::Prepare(QMessageBox& messageBox, const CMessageBox& box)
{
    messageBox.setWindowTitle(CQtText::Message(EMessageId::AppTitle));
    // File names may hold anything, markup included: show them as they are.
    messageBox.setTextFormat(Qt::PlainText);
    messageBox.setText(CQtText::FromText(box.Text()));
    messageBox.setStandardButtons(QMessageBox::Ok);
    messageBox.setIcon(QMessageBox::NoIcon);
    switch (box.Style())
    {
    case EMessageStyle::Prompt:
        messageBox.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        messageBox.setDefaultButton(QMessageBox::Yes);
        messageBox.setEscapeButton(QMessageBox::No);
        [[fallthrough]];
    case EMessageStyle::InUse:
        messageBox.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        break;
    case EMessageStyle::Error:
        messageBox.setIcon(QMessageBox::Critical);
        break;
    case EMessageStyle::Warning:
        messageBox.setIcon(QMessageBox::Warning);
        break;
    case EMessageStyle::Information:
        messageBox.setIcon(QMessageBox::Information);
        break;
    case EMessageStyle::Plain:
        break;
    }
    // A long report is shown cut short; the whole of it is one click away.
    const std::string& details = box.DetailsText();
    if (!details.empty() && box.Text().find(details) == std::string::npos)
        messageBox.setDetailedText(CQtText::FromText(details));
}

void CQtPrompts::BringToFront(QMessageBox& messageBox)
{
    // Once the box is on screen: raised above every window and given the
    // focus, since the question concerns work the user may have left.
    QTimer::singleShot(0, &messageBox,
                       [&messageBox]
                       {
                           messageBox.raise();
                           messageBox.activateWindow();
                       });
}

int CQtPrompts::AskFolderQuestion(const std::string& question)
{
    try
    {
        CYesNoAllDlg dialog(CQtText::FromText(question), DialogParent());
        CNormalCursor normal;
        return dialog.exec();
    }
    catch (const std::exception&)
    {
        return FolderAnswerFailed;
    }
}

CPasswordAnswer CQtPrompts::AskPassword(const CPasswordRequest& request)
{
    try
    {
        CPasswordDlg dialog(request, DialogParent());
        CNormalCursor normal;
        dialog.exec();
        return dialog.Answer();
    }
    catch (const std::exception&)
    {
        return {};
    }
}

std::vector<std::string> CQtPrompts::ChooseFiles(const std::string& filter,
                                                 const std::string& initialFolder)
{
    return CFileDialogs::ChooseFiles(DialogParent(), filter, initialFolder);
}

std::optional<std::string> CQtPrompts::ChooseFolder(const std::string& initialFolder,
                                                    const std::string& statusText)
{
    return CFileDialogs::ChooseFolder(DialogParent(), initialFolder, statusText);
}

std::optional<std::vector<std::string>> CQtPrompts::ClipboardFiles()
{
    return CClipboardFileList::Read(QApplication::clipboard()->mimeData());
}

void CQtPrompts::WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel)
{
    m_pConversionWait->Wait(monitor, cancel, DialogParent());
}

void CQtPrompts::NotifyConversionsChanged()
{
    m_pConversionWait->Wake();
}

void CQtPrompts::EndConversions()
{
    m_pConversionWait->EndOperation();
}
