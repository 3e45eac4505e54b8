// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDialogs.h"

#include "NameFilter.h"
#include "dialogs/QtText.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace
{
void StartAt(QFileDialog& dialog, const std::string& folder)
{
    if (!folder.empty() && QDir(CQtText::FromPath(folder)).exists())
        dialog.setDirectory(CQtText::FromPath(folder));
}

void ShowStatusText(QFileDialog& dialog, const std::string& statusText)
{
    auto* label = new QLabel(CQtText::FromText(statusText), &dialog);
    label->setObjectName(QStringLiteral("statusText"));
    label->setTextFormat(Qt::PlainText);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
    else if (dialog.layout())
        dialog.layout()->addWidget(label);
}
} // namespace

std::vector<std::string> CFileDialogs::ChooseFiles(QWidget* parent, const std::string& filter,
                                                   const std::string& initialFolder)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    CNameFilter nameFilter(filter);
    if (!nameFilter.IsEmpty())
    {
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setNameFilter(nameFilter.ForDialog());
    }
    StartAt(dialog, initialFolder);

    std::vector<std::string> paths;
    if (dialog.exec() != QDialog::Accepted)
        return paths;
    for (const QString& path : dialog.selectedFiles())
        paths.push_back(CQtText::ToPath(QDir::toNativeSeparators(path)));
    return paths;
}

std::optional<std::string> CFileDialogs::ChooseFolder(QWidget* parent,
                                                      const std::string& initialFolder,
                                                      const std::string& statusText)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    StartAt(dialog, initialFolder);
    ShowStatusText(dialog, statusText);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return CQtText::ToPath(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}
