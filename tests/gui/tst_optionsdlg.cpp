#include "ScriptedPrompts.h"
#include "dialogs/OptionsDlg.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"

#include <QSpinBox>
#include <QtTest>

class COptionsDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void StartsAtTheStoredValueOrTheCores();
    void OkStoresTheValueCancelDoesNot();
};

namespace
{
struct CSetup
{
    CScriptedPrompts prompts;
    CMemorySettings settings;
    CConverterTable table{std::make_shared<CConverterContext>(&prompts)};
    CZeltoDoc doc{table, prompts, settings};
};
} // namespace

void COptionsDlgTest::StartsAtTheStoredValueOrTheCores()
{
    CSetup setup;
    COptionsDlg fresh(setup.doc);
    QCOMPARE(fresh.ConversionsBox()->value(), CZeltoDoc::DefaultConversionsAtOnce());
    QCOMPARE(fresh.ConversionsBox()->minimum(), 1);
    setup.settings.SetInt("", "Conversions at once", 3);
    COptionsDlg stored(setup.doc);
    QCOMPARE(stored.ConversionsBox()->value(), 3);
}

void COptionsDlgTest::OkStoresTheValueCancelDoesNot()
{
    CSetup setup;
    {
        COptionsDlg dialog(setup.doc);
        dialog.ConversionsBox()->setValue(5);
        dialog.reject();
    }
    QVERIFY(!setup.settings.Has("", "Conversions at once"));
    {
        COptionsDlg dialog(setup.doc);
        dialog.ConversionsBox()->setValue(1);
        dialog.accept();
    }
    QCOMPARE(setup.settings.GetInt("", "Conversions at once"), 1);
    QCOMPARE(setup.doc.ConversionsAtOnce(), 1);
}

QTEST_MAIN(COptionsDlgTest)
#include "tst_optionsdlg.moc"
