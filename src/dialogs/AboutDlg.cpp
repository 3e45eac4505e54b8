// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutDlg.h"

#include "HyperLink.h"
#include "IconSet.h"
#include "QtText.h"
#include "platform/BuildVersion.h"

#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
constexpr int kIconSize = 32;

QIcon ApplicationIcon()
{
    QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? CIconSet::Icon(CIconSet::EIcon::Application) : icon;
}
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    BuildControls();
    ShowVersion();
}

QString CAboutDlg::VersionText() const
{
    return m_pVersion->text();
}

QLabel* CAboutDlg::MakeText(const QString& text, const char* name)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

void CAboutDlg::BuildControls()
{
    setWindowTitle(CQtText::Message(EMessageId::AboutCaption));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ApplicationIcon().pixmap(kIconSize, kIconSize));

    m_pVersion = MakeText(QString(), "version");
    m_pLink = new CHyperLink(QString::fromLatin1(kWebAddress), this);
    m_pLink->setObjectName(QStringLiteral("link"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(MakeText(CQtText::Message(EMessageId::AboutProgramName), "title"));
    texts->addWidget(m_pVersion);
    texts->addWidget(MakeText(CQtText::Message(EMessageId::AboutLicense), "license"));
    texts->addSpacing(fontMetrics().height());
    texts->addWidget(m_pLink);
    texts->addSpacing(fontMetrics().height() / 2);
    texts->addWidget(MakeText(CQtText::Message(EMessageId::AboutAddress), "contact1"));
    texts->addWidget(MakeText(CQtText::Message(EMessageId::AboutTelephone), "contact2"));
    texts->addWidget(MakeText(CQtText::Message(EMessageId::AboutSupport), "contact3"));
    texts->addStretch(1);

    auto* ok = new QPushButton(CQtText::Message(EMessageId::AboutOkButton), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(fontMetrics().averageCharWidth() * 3);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addLayout(texts, 0, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
}

void CAboutDlg::ShowVersion()
{
    m_pVersion->setText(CQtText::FromText(CBuildVersion::Text(CBuildVersion::Current())));
}
