// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ColorLabel.h"
#include "dialogs/HyperLink.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QtTest>

// A window with the link and a plain label beside it, so that presses and
// releases can happen on and off the link.
class CLinkWindow : public QWidget
{
public:
    CLinkWindow()
    {
        auto* layout = new QHBoxLayout(this);
        m_pOther = new QLabel(QStringLiteral("Somewhere else"), this);
        m_pLink = new CHyperLink(QStringLiteral("https://www.orrinval.example/zelto"), this);
        layout->addWidget(m_pOther);
        layout->addWidget(m_pLink);
        m_pLink->SetOpener([this](const QString& text) { m_opened << text; });
    }

    // Centres in the window's coordinates, as the window system reports them.
    QPoint OnLink() const { return m_pLink->geometry().center(); }
    QPoint OffLink() const { return m_pOther->geometry().center(); }

    void Press(const QPoint& at) { QTest::mousePress(windowHandle(), Qt::LeftButton, {}, at); }
    void Release(const QPoint& at) { QTest::mouseRelease(windowHandle(), Qt::LeftButton, {}, at); }

    CHyperLink* m_pLink;
    QLabel* m_pOther;
    QStringList m_opened;
};

class CHyperLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void ColorLabel_StartsInDialogColoursAndFont();
    void ColorLabel_InvalidColourMeansUsualTextColour();
    void Link_IsBlueUnderlinedWithHandCursor();
    void PressAndReleaseOnLink_OpensOnceAndTurnsBack();
    void PressOnLinkReleaseElsewhere_StaysPressedOpensNothing();
    void NextReleaseOverLink_AfterPressElsewhere_OpensAndTurnsBack();
    void PressElsewhereReleaseOverLink_Opens();
    void EachReleaseOverLink_OpensOnce();
    void RightButton_DoesNothing();
    void TextAtRelease_IsWhatOpens();

private:
    void ShowWindow(CLinkWindow& window);
};

void CHyperLinkTest::ShowWindow(CLinkWindow& window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

void CHyperLinkTest::ColorLabel_StartsInDialogColoursAndFont()
{
    CColorLabel label(QStringLiteral("Text"));
    QCOMPARE(label.LabelTextColor(), QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(label.LabelBackColor(), QApplication::palette().color(QPalette::Window));
    QCOMPARE(label.LabelFont(), QApplication::font());
    QCOMPARE(label.palette().color(QPalette::Window), label.LabelBackColor());
    QVERIFY(label.autoFillBackground());
    QCOMPARE(label.textFormat(), Qt::PlainText);
}

void CHyperLinkTest::ColorLabel_InvalidColourMeansUsualTextColour()
{
    CColorLabel label(QStringLiteral("Text"));
    label.SetLabelTextColor(QColor(10, 20, 30));
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(10, 20, 30));
    label.SetLabelTextColor(QColor());
    QCOMPARE(label.LabelTextColor(), QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(label.palette().color(QPalette::WindowText), label.LabelTextColor());
}

void CHyperLinkTest::Link_IsBlueUnderlinedWithHandCursor()
{
    CHyperLink link(QStringLiteral("x"));
    QCOMPARE(link.NormalColor(), QColor(0, 0, 255));
    QCOMPARE(link.PressedColor(), QColor(128, 0, 255));
    QCOMPARE(link.LabelTextColor(), QColor(0, 0, 255));
    QCOMPARE(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(link.font().underline());
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
}

void CHyperLinkTest::PressAndReleaseOnLink_OpensOnceAndTurnsBack()
{
    CLinkWindow window;
    ShowWindow(window);
    window.Press(window.OnLink());
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->PressedColor());
    QVERIFY(window.m_opened.isEmpty());
    window.Release(window.OnLink());
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->NormalColor());
    QCOMPARE(window.m_opened, QStringList{"https://www.orrinval.example/zelto"});
}

void CHyperLinkTest::PressOnLinkReleaseElsewhere_StaysPressedOpensNothing()
{
    CLinkWindow window;
    ShowWindow(window);
    window.Press(window.OnLink());
    window.Release(window.OffLink());
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->PressedColor());
    QVERIFY(window.m_opened.isEmpty());
    // A click elsewhere changes nothing either.
    window.Press(window.OffLink());
    window.Release(window.OffLink());
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->PressedColor());
    QVERIFY(window.m_opened.isEmpty());
}

void CHyperLinkTest::NextReleaseOverLink_AfterPressElsewhere_OpensAndTurnsBack()
{
    CLinkWindow window;
    ShowWindow(window);
    window.Press(window.OnLink());
    window.Release(window.OffLink());
    window.Press(window.OffLink());
    window.Release(window.OnLink());
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->NormalColor());
    QCOMPARE(window.m_opened.size(), 1);
}

void CHyperLinkTest::PressElsewhereReleaseOverLink_Opens()
{
    CLinkWindow window;
    ShowWindow(window);
    window.Press(window.OffLink());
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->NormalColor());
    window.Release(window.OnLink());
    QCOMPARE(window.m_opened.size(), 1);
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->NormalColor());
}

void CHyperLinkTest::EachReleaseOverLink_OpensOnce()
{
    CLinkWindow window;
    ShowWindow(window);
    for (int click = 0; click < 3; ++click)
    {
        window.Press(window.OnLink());
        window.Release(window.OnLink());
    }
    QCOMPARE(window.m_opened.size(), 3);
}

void CHyperLinkTest::RightButton_DoesNothing()
{
    CLinkWindow window;
    ShowWindow(window);
    QTest::mousePress(window.windowHandle(), Qt::RightButton, {}, window.OnLink());
    QCOMPARE(window.m_pLink->LabelTextColor(), window.m_pLink->NormalColor());
    QTest::mouseRelease(window.windowHandle(), Qt::RightButton, {}, window.OnLink());
    QVERIFY(window.m_opened.isEmpty());
}

void CHyperLinkTest::TextAtRelease_IsWhatOpens()
{
    CLinkWindow window;
    ShowWindow(window);
    window.Press(window.OnLink());
    window.m_pLink->setText(QStringLiteral("https://www.orrinval.example/other"));
    window.Release(window.OnLink());
    QCOMPARE(window.m_opened, QStringList{"https://www.orrinval.example/other"});
}

QTEST_MAIN(CHyperLinkTest)
#include "tst_hyperlink.moc"
