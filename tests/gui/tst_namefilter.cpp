// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/NameFilter.h"

#include <QtTest>

class TestNameFilter : public QObject
{
    Q_OBJECT

private slots:
    void NameFilter_ReadsBothForms_data();
    void NameFilter_ReadsBothForms();
};

void TestNameFilter::NameFilter_ReadsBothForms_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("patterns");
    QTest::newRow("label and parentheses") << "All Valid (*.pdf)"
                                           << "All Valid (*.pdf)" << QStringList{"*.pdf"};
    QTest::newRow("semicolon inside") << "All Valid (*.pdf;)"
                                      << "All Valid (*.pdf;)" << QStringList{"*.pdf"};
    QTest::newRow("bars") << "All Valid (*.pdf;)|*.pdf;||"
                          << "All Valid (*.pdf;)" << QStringList{"*.pdf"};
    QTest::newRow("two patterns") << "Documents (*.pdf *.ps)"
                                  << "Documents (*.pdf *.ps)" << QStringList{"*.pdf", "*.ps"};
}

void TestNameFilter::NameFilter_ReadsBothForms()
{
    QFETCH(QString, given);
    QFETCH(QString, label);
    QFETCH(QStringList, patterns);

    CNameFilter filter(given.toStdString());
    QCOMPARE(filter.Label(), label);
    QCOMPARE(filter.Patterns(), patterns);
    QCOMPARE(CNameFilter::CaseBlind("*.pdf"), QStringLiteral("*.[pP][dD][fF]"));
}

QTEST_MAIN(TestNameFilter)
#include "tst_namefilter.moc"
