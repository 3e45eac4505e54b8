// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/OptionsDlg.h"
#include "platform/MessageTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class COptionsDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void StartsAtTheGivenCountWithinItsBounds();
    void HelpNamesTheDefaultCount();
    void TextForm_ComesBackAsSet();
    void FitsASmallScreen();
    void OkAcceptsTheChosenCount_CancelRejectsIt();
    void OcrLanguages_OfferTheInstalledAndTheChosenAndGiveTheTicked();
};

void COptionsDlgTest::StartsAtTheGivenCountWithinItsBounds()
{
    COptionsDlg dialog(3, 64, 8);
    QCOMPARE(dialog.ConversionsBox()->value(), 3);
    QCOMPARE(dialog.ConversionsBox()->minimum(), 1);
    QCOMPARE(dialog.ConversionsBox()->maximum(), 64);
    QCOMPARE(dialog.ConversionsAtOnce(), 3);
}

void COptionsDlgTest::HelpNamesTheDefaultCount()
{
    COptionsDlg dialog(3, 64, 8);
    QCOMPARE(dialog.ConversionsBox()->toolTip(),
             QString::fromStdString(CMessageTable::Format(EMessageId::ConversionsAtOnceHelp, {8})));
}

// Every form comes back as it was set, through the dialog's own controls.
void COptionsDlgTest::TextForm_ComesBackAsSet()
{
    COptionsDlg dialog(3, 64, 8);
    QCOMPARE(dialog.TextForm().eLayout, CTextForm::ELayout::Physical);
    QVERIFY(dialog.TextForm().bPageBreaks);
    CTextForm form;
    form.eLayout = CTextForm::ELayout::Raw;
    form.bCrLf = true;
    form.bPageBreaks = false;
    form.bByteOrderMark = true;
    dialog.SetTextForm(form);
    CTextForm back = dialog.TextForm();
    QCOMPARE(back.eLayout, form.eLayout);
    QCOMPARE(back.bCrLf, true);
    QCOMPARE(back.bPageBreaks, false);
    QCOMPARE(back.bByteOrderMark, true);
    QCOMPARE(dialog.ExistingText(), EExistingText::Ask);
    QCOMPARE(dialog.TextFolder(), std::string());
    dialog.SetTextFolder("/srv/Übersicht texts");
    QCOMPARE(dialog.TextFolder(), std::string("/srv/Übersicht texts"));
    dialog.SetExistingText(EExistingText::ReplaceWhenNewer);
    QCOMPARE(dialog.ExistingText(), EExistingText::ReplaceWhenNewer);
    QCOMPARE(dialog.ExtractionEngine(), CConversionOptions::EEngine::Workers);
    dialog.SetExtractionEngine(CConversionOptions::EEngine::Pdftotext);
    QCOMPARE(dialog.ExtractionEngine(), CConversionOptions::EEngine::Pdftotext);
}

// Within a screen of 1024 by 768, with room for the window's frame.
void COptionsDlgTest::FitsASmallScreen()
{
    COptionsDlg dialog(3, 64, 8);
    dialog.SetOcr(true, "eng", {"eng", "deu", "fra", "spa", "ita", "nld", "por", "jpn"});
    dialog.show();
    QVERIFY(dialog.width() <= 1000);
    QVERIFY(dialog.height() <= 700);
}

void COptionsDlgTest::OkAcceptsTheChosenCount_CancelRejectsIt()
{
    {
        COptionsDlg dialog(3, 64, 8);
        dialog.ConversionsBox()->setValue(5);
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                          Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        COptionsDlg dialog(3, 64, 8);
        dialog.ConversionsBox()->setValue(1);
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ConversionsAtOnce(), 1);
    }
}

void COptionsDlgTest::OcrLanguages_OfferTheInstalledAndTheChosenAndGiveTheTicked()
{
    COptionsDlg dialog(3, 64, 8);
    dialog.SetOcr(true, "eng+deu", {"eng", "fra"});
    QListWidget* list = dialog.LanguageList();
    QStringList offered;
    for (int row = 0; row < list->count(); ++row)
        offered << list->item(row)->text();
    QCOMPARE(offered, (QStringList{"eng", "fra", "deu"}));
    QVERIFY(dialog.ReadScannedPages());
    QCOMPARE(dialog.OcrLanguages(), std::string("eng+deu"));

    list->item(0)->setCheckState(Qt::Unchecked);
    list->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(dialog.OcrLanguages(), std::string("fra+deu"));
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(Qt::Unchecked);
    QCOMPARE(dialog.OcrLanguages(), std::string("eng"));

    // Without tesseract, OCR cannot be turned on.
    dialog.SetOcr(false, "eng", {});
    QVERIFY(!dialog.OcrBox()->isEnabled());
    QVERIFY(!list->isEnabled());
}

QTEST_MAIN(COptionsDlgTest)
#include "tst_optionsdlg.moc"
