// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockedFolder.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "dialogs/AddReportDlg.h"
#include "dialogs/AddReportModel.h"
#include "dialogs/QtText.h"
#include "doc/AddReport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace
{
using Rows = std::vector<const CAddReportRow*>;

// Three rows, not in the order of any column.
std::shared_ptr<CAddReport> ThreeRows(const std::string& folder)
{
    auto report = std::make_shared<CAddReport>();
    report->Record({folder + "/b.pdf", EFileOutcome::Failed, "Failed b", "", true});
    report->Record(
        {folder + "/a.pdf", EFileOutcome::Warning, "Warned a", "whole, \"report\"", false});
    report->Record({folder + "/\xc3\xbc.pdf", EFileOutcome::NoText, "No text \xc3\xbc", "", false});
    report->Stop();
    return report;
}

QStringList Files(const CAddReportDlg& dialog)
{
    QStringList files;
    for (const CAddReportRow* row : dialog.ShownRows(false))
        files << CQtText::FromPath(row->strPath).section('/', -1);
    return files;
}
} // namespace

class TestAddReportDlg : public QObject
{
    Q_OBJECT

private slots:
    void Rows_ComeInOrderSortByAColumnAndFilterByOutcome();
    void CopyAndSaveAs_GiveTheShownRowsAsText();
    void FailedSave_IsToldAndLosesNothing();
    void DoubleClick_ShowsTheRowsFile();
};

void TestAddReportDlg::Rows_ComeInOrderSortByAColumnAndFilterByOutcome()
{
    CScriptedPrompts prompts;
    CAddReportDlg dialog(prompts);
    std::shared_ptr<CAddReport> report = ThreeRows("/d");
    dialog.SetReport(report);
    QCOMPARE(Files(dialog), (QStringList{"b.pdf", "a.pdf", "\u00fc.pdf"}));
    QCOMPARE(dialog.SummaryLabel()->text(), CQtText::FromText(report->Summary()));

    dialog.Table()->sortByColumn(CAddReportModel::FileColumn, Qt::AscendingOrder);
    QCOMPARE(Files(dialog), (QStringList{"a.pdf", "b.pdf", "\u00fc.pdf"}));
    dialog.Table()->sortByColumn(CAddReportModel::OutcomeColumn, Qt::DescendingOrder);
    QCOMPARE(Files(dialog), (QStringList{"a.pdf", "\u00fc.pdf", "b.pdf"}));

    // Only the outcomes held are offered, after "All outcomes".
    QComboBox* filter = dialog.OutcomeFilter();
    QCOMPARE(filter->count(), 4);
    filter->setCurrentIndex(filter->findText(QStringLiteral("Failed")));
    QCOMPARE(Files(dialog), (QStringList{"b.pdf"}));
    filter->setCurrentIndex(0);
    QCOMPARE(Files(dialog).size(), 3);
}

void TestAddReportDlg::CopyAndSaveAs_GiveTheShownRowsAsText()
{
    CTempDir dir;
    CScriptedPrompts prompts;
    CAddReportDlg dialog(prompts);
    std::shared_ptr<CAddReport> report = ThreeRows(dir.Path());
    dialog.SetReport(report);
    const std::vector<CAddReportRow>& rows = report->Rows();

    dialog.Table()->selectRow(0);
    dialog.Table()->selectionModel()->select(dialog.Table()->model()->index(2, 0),
                                             QItemSelectionModel::Select |
                                                 QItemSelectionModel::Rows);
    dialog.CopySelection();
    QCOMPARE(QApplication::clipboard()->text(),
             CQtText::FromText(CAddReport::TabSeparated({&rows[0], &rows[2]})));

    // Over an older file, in a folder whose name is not ASCII.
    std::string path = dir.Write("r\xc3\xa9sum\xc3\xa9/report.csv", "old");
    QVERIFY(dialog.SaveAs(CQtText::FromPath(path)));
    QCOMPARE(CTempDir::ReadFile(path), CAddReport::Csv({&rows[0], &rows[1], &rows[2]}));
    QVERIFY(prompts.Messages().empty());
}

void TestAddReportDlg::FailedSave_IsToldAndLosesNothing()
{
    CTempDir dir;
    CScriptedPrompts prompts;
    CAddReportDlg dialog(prompts);
    dialog.SetReport(ThreeRows(dir.Path()));
    std::string path = dir.Write("kept/report.csv", "old report");
    std::string folder = dir / "kept";
    {
        // No new file can be made in the folder.
        CLockedFolder locked(folder, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_exec);
        QVERIFY(!dialog.SaveAs(CQtText::FromPath(path)));
    }
    QCOMPARE(CTempDir::ReadFile(path), std::string("old report"));
    QCOMPARE(prompts.FirstIds(), std::vector<EMessageId>{EMessageId::AddReportSaveFailed});
}

void TestAddReportDlg::DoubleClick_ShowsTheRowsFile()
{
    CScriptedPrompts prompts;
    CAddReportDlg dialog(prompts);
    dialog.SetReport(ThreeRows("/d"));
    std::vector<std::string> shown;
    dialog.SetFileShower([&](const std::string& path) { shown.push_back(path); });
    dialog.Table()->sortByColumn(CAddReportModel::FileColumn, Qt::AscendingOrder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTableView* table = dialog.Table();
    QRect cell = table->visualRect(table->model()->index(0, 0));
    // A double-click follows a press, as it does under a real mouse.
    QTest::mousePress(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(shown, std::vector<std::string>{"/d/a.pdf"});
}

QTEST_MAIN(TestAddReportDlg)
#include "tst_addreportdlg.moc"
