// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunProgressDlg.h"

#include "QtText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CRunProgressDlg::CRunProgressDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(CQtText::Message(EMessageId::AppTitle));
    setWindowModality(Qt::ApplicationModal);

    m_pFile = new QLabel(this);
    m_pFile->setObjectName(QStringLiteral("fileLabel"));
    m_pFile->setTextFormat(Qt::PlainText);
    m_pFile->setWordWrap(true);
    m_pFile->setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    m_pDone = new QLabel(this);
    m_pDone->setObjectName(QStringLiteral("doneLabel"));
    m_pDone->setTextFormat(Qt::PlainText);

    // The tool says nothing about its progress, so the bar only shows that
    // work goes on.
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);
    bar->setTextVisible(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_pCancel = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRunProgressDlg::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_pFile);
    column->addWidget(m_pDone);
    column->addWidget(bar);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void CRunProgressDlg::reject()
{
    if (m_bCancelRequested)
        return;
    m_bCancelRequested = true;
    m_pCancel->setEnabled(false);
    emit CancelRequested();
}

void CRunProgressDlg::SetProgress(int done, int queued, const QStringList& converting)
{
    QStringList lines;
    for (const QString& name : converting)
        lines << CQtText::Message(EMessageId::RunProgressFile, {CQtText::ToText(name)});
    m_pFile->setText(lines.join(QLatin1Char('\n')));
    m_pDone->setText(CQtText::Message(EMessageId::RunProgressDoneOf, {done, queued}));
}
