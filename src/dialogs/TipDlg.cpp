// SPDX-License-Identifier: GPL-3.0-or-later
#include "TipDlg.h"

#include "QtText.h"
#include "person/TipsFile.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
constexpr const char* kBulbResource = ":/dialogs/lightbulb.svg";

// The picture's own size; it is drawn at that size, not stretched.
constexpr QSize kBulbSize(40, 53);

// The tip area is white whatever the desktop's colours are, so its text is
// black too.
void UseBlackText(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    widget->setPalette(palette);
}
} // namespace

CTipDlg::CTipDlg(const std::string& tipsPath, CSettings& settings, CPrompts& prompts,
                 QWidget* parent)
    : QDialog(parent), m_settings(settings), m_bulb(QString::fromLatin1(kBulbResource))
{
    m_bShowAtStartup = CTipsFile::ShowAtStartup(m_settings);
    m_pTipsFile = std::make_unique<CTipsFile>(tipsPath, m_settings, prompts);
    m_strTipText = CQtText::FromText(m_pTipsFile->FirstText());
    BuildControls();
}

CTipDlg::~CTipDlg() = default;

void CTipDlg::RunAtStartup(const std::string& tipsPath, CSettings& settings, CPrompts& prompts,
                           QWidget* parent)
{
    CTipDlg dialog(tipsPath, settings, prompts, parent);
    if (dialog.ShowAtStartup())
        dialog.exec();
}

void CTipDlg::RunOnDemand(const std::string& tipsPath, CSettings& settings, CPrompts& prompts,
                          QWidget* parent)
{
    CTipDlg dialog(tipsPath, settings, prompts, parent);
    dialog.exec();
}

// Sizes follow the dialog units of the font, a quarter of the average
// character width across and an eighth of the line height down, so that
// the proportions hold with any font.
int CTipDlg::DialogUnitsX(int units) const
{
    return units * QFontMetrics(font()).averageCharWidth() / 4;
}

int CTipDlg::DialogUnitsY(int units) const
{
    return units * QFontMetrics(font()).height() / 8;
}

void CTipDlg::BuildControls()
{
    setWindowTitle(CQtText::Message(EMessageId::TipCaption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(DialogUnitsX(12), DialogUnitsY(11), DialogUnitsX(12),
                               DialogUnitsY(7));
    layout->setSpacing(DialogUnitsY(9));
    layout->addWidget(BuildTipArea(), 1);
    layout->addLayout(BuildButtons());
}

// A black frame round the white picture area; the tip sits in the lower part
// of the area, below the band that the bulb and the heading take.
QWidget* CTipDlg::BuildTipArea()
{
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    UseBlackText(frame);

    m_pPictureArea = new QWidget(frame);
    m_pPictureArea->setObjectName(QStringLiteral("pictureArea"));
    m_pPictureArea->setMinimumSize(DialogUnitsX(190), DialogUnitsY(111));

    m_pTipLabel = new QLabel(m_strTipText, m_pPictureArea);
    m_pTipLabel->setObjectName(QStringLiteral("tipText"));
    m_pTipLabel->setTextFormat(Qt::PlainText);
    m_pTipLabel->setWordWrap(true);
    m_pTipLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    UseBlackText(m_pTipLabel);

    auto* areaLayout = new QVBoxLayout(m_pPictureArea);
    int tipTop = std::max(DialogUnitsY(46), kBulbSize.height() + DialogUnitsY(6));
    areaLayout->setContentsMargins(DialogUnitsX(8), tipTop, DialogUnitsX(5), DialogUnitsY(5));
    areaLayout->addWidget(m_pTipLabel, 1);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(DialogUnitsX(8), DialogUnitsY(6), DialogUnitsX(9),
                                    DialogUnitsY(6));
    frameLayout->addWidget(m_pPictureArea);
    return frame;
}

QLayout* CTipDlg::BuildButtons()
{
    m_pShowCheck = new QCheckBox(CQtText::Message(EMessageId::TipShowAtStartup), this);
    m_pShowCheck->setObjectName(QStringLiteral("showAtStartup"));
    m_pShowCheck->setChecked(m_bShowAtStartup);

    m_pNextButton = new QPushButton(CQtText::Message(EMessageId::TipNextButton), this);
    m_pNextButton->setObjectName(QStringLiteral("nextTip"));
    m_pNextButton->setEnabled(m_pTipsFile->IsOpen());
    connect(m_pNextButton, &QPushButton::clicked, this, &CTipDlg::OnNextTipButton);

    m_pCloseButton = new QPushButton(CQtText::Message(EMessageId::TipCloseButton), this);
    m_pCloseButton->setObjectName(QStringLiteral("close"));
    m_pCloseButton->setDefault(true);
    connect(m_pCloseButton, &QPushButton::clicked, this, &CTipDlg::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pShowCheck);
    buttons->addStretch(1);
    buttons->addWidget(m_pNextButton);
    buttons->addWidget(m_pCloseButton);
    return buttons;
}

void CTipDlg::OnNextTipButton()
{
    m_strTipText = CQtText::FromText(m_pTipsFile->ReadNextTip());
    m_pTipLabel->setText(m_strTipText);
}

void CTipDlg::accept()
{
    m_bShowAtStartup = m_pShowCheck->isChecked();
    QDialog::accept();
    CTipsFile::StoreShowAtStartup(m_settings, m_bShowAtStartup);
}

QRect CTipDlg::PictureRect() const
{
    return QRect(m_pPictureArea->mapTo(this, QPoint(0, 0)), m_pPictureArea->size());
}

// The picture area is white, with the light bulb in its top left corner and
// the heading on one line beside it, centred on the bulb's height, in the
// dialog's own font. The tip below is a transparent label on that white.
void CTipDlg::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QRect area = PictureRect();
    painter.fillRect(area, Qt::white);

    QRect bulb(area.topLeft(), kBulbSize);
    m_bulb.render(&painter, QRectF(bulb));

    QRect band(area.left() + kBulbSize.width(), area.top(), area.width() - kBulbSize.width(),
               kBulbSize.height());
    painter.setPen(Qt::black);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     CQtText::Message(EMessageId::TipHeading));
}
