// SPDX-License-Identifier: GPL-3.0-or-later
// The table model that shows the document's list: its cells, how it follows
// every change of the list, and a selection that stays on its files while
// the list changes around it.

#include "DocRows.h"
#include "ListingTable.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "platform/MemorySettings.h"
#include "ui/FileListModel.h"
#include "ui/ZeltoView.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <unordered_map>

namespace
{
using Converters = std::vector<const CConverter*>;

// A document with its model, filled by drops of empty files that are listed
// as they are: the model reads only the converters' names.
struct CModelRig
{
    CModelRig() { table.ListWithoutConverting(true); }

    // Lists a file made at `path` (from "/", inside the temporary folder).
    const CConverter* List(const std::string& path) { return ListAll({path}).front(); }
    // The same for many files in one drop, in the order given.
    Converters ListAll(const std::vector<std::string>& paths)
    {
        std::vector<std::string> made;
        made.reserve(paths.size());
        for (const std::string& path : paths)
            made.push_back(dir.Write(path.substr(1), ""));
        doc.OnDropFiles(made);
        // Looked up all at once: a hundred thousand rows are too many to
        // search one by one.
        std::unordered_map<std::string, const CConverter*> bySource;
        for (int row = 0; row < doc.RowCount(); ++row)
            bySource[std::string(doc.ConverterAt(row)->m_strSourcePath)] = doc.ConverterAt(row);
        Converters listed;
        for (const std::string& path : made)
            listed.push_back(bySource.at(path));
        return listed;
    }
    int RowOf(const CConverter* converter) const { return CDocRows::RowOf(doc, converter); }

    QString Cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return model.data(model.index(row, column), role).toString();
    }

    // Whether every row of the model shows the converter of the same row of
    // the document.
    bool FollowsTheDoc() const
    {
        if (model.rowCount() != doc.RowCount())
            return false;
        for (int row = 0; row < doc.RowCount(); ++row)
        {
            if (!ShowsItsConverter(row))
                return false;
        }
        return true;
    }

    // Whether the model shows some of the document's rows, each as the
    // document does, in the document's order.
    bool ShowsPartOfTheDocInOrder() const
    {
        int docRow = 0;
        for (int row = 0; row < model.rowCount(); ++row, ++docRow)
        {
            while (docRow < doc.RowCount() && doc.ConverterAt(docRow) != model.ConverterAt(row))
                ++docRow;
            if (docRow == doc.RowCount() || Cell(row, CFileListModel::ColumnFile).toStdString() !=
                                                doc.ConverterAt(docRow)->m_strTextName)
                return false;
        }
        return true;
    }

    bool ShowsItsConverter(int row) const
    {
        const CConverter* converter = doc.ConverterAt(row);
        return model.ConverterAt(row) == converter &&
               Cell(row, CFileListModel::ColumnFile).toStdString() == converter->m_strTextName &&
               Cell(row, CFileListModel::ColumnFolder).toStdString() == converter->m_strTextFolder;
    }

    CTempDir dir;
    CScriptedPrompts prompts;
    CMemorySettings settings;
    CListingTable table{std::make_shared<CConverterContext>(CPathRules::Posix())};
    CZeltoDoc doc{table, prompts, prompts, settings};
    CFileListModel model{doc};
};

std::set<const CConverter*> SelectedConverters(const CFileListModel& model,
                                               const QItemSelectionModel& selection)
{
    std::set<const CConverter*> selected;
    for (const QModelIndex& index : selection.selectedRows())
        selected.insert(model.ConverterAt(index.row()));
    return selected;
}

void SelectRow(QItemSelectionModel& selection, int row)
{
    selection.select(selection.model()->index(row, 0),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
}
} // namespace

class TestFileListModel : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_pRig = std::make_unique<CModelRig>(); }
    void cleanup() { m_pRig.reset(); }

    void Headings_AreFileAndFolderInTwoColumns();
    void Rows_ShowNameAndFolderInTheDocumentsOrder();
    void SameNameInTwoFolders_DiffersOnlyInTheFolderColumn();
    void ToolTip_IsTheWholeTextPath();
    void CellsOutsideTheListAndOtherRoles_AreEmpty();
    void EveryKindOfChange_KeepsTheModelSound();
    void FileCountChanged_FollowsTheRecordedCount();
    void RemoveAll_EmptiesTheModelAndKeepsTwoColumns();
    void RowsInsertedOneByOne_KeepTheSelectionOnItsFiles();
    void RemovalOfScatteredRows_KeepsTheOthersSelected();
    void RowsInsertedUnderAView_KeepItsSelectionOnItsFiles();
    void HundredThousandRows_StayConsistent();
    void RowsEnteringInABatch_AreShownTogetherAndKeepTheModelSound();
    void BatchOfRowsAllOverTheList_EntersInOneChangeKeepingTheSelection();

private:
    std::unique_ptr<CModelRig> m_pRig;
};

void TestFileListModel::Headings_AreFileAndFolderInTwoColumns()
{
    CFileListModel& model = m_pRig->model;
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("File"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Folder"));
    QVERIFY(!model.headerData(2, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
    QCOMPARE(model.rowCount(), 0);
}

void TestFileListModel::Rows_ShowNameAndFolderInTheDocumentsOrder()
{
    m_pRig->List("/docs/Zebra.pdf");
    m_pRig->List("/docs/apple.pdf");
    m_pRig->List("/docs/Mango.pdf");
    QCOMPARE(m_pRig->model.rowCount(), 3);
    QCOMPARE(m_pRig->Cell(0, 0), QStringLiteral("apple.txt"));
    QCOMPARE(m_pRig->Cell(1, 0), QStringLiteral("Mango.txt"));
    QCOMPARE(m_pRig->Cell(2, 0), QStringLiteral("Zebra.txt"));
    QCOMPARE(m_pRig->Cell(0, 1),
             QString::fromStdString(std::string(m_pRig->doc.ConverterAt(0)->m_strTextFolder)));
    QVERIFY(m_pRig->Cell(0, 1).endsWith(QStringLiteral("/docs/")));
    QVERIFY(m_pRig->FollowsTheDoc());
}

void TestFileListModel::SameNameInTwoFolders_DiffersOnlyInTheFolderColumn()
{
    m_pRig->List("/b/report.pdf");
    m_pRig->List("/a/report.pdf");
    QCOMPARE(m_pRig->Cell(0, 0), QStringLiteral("report.txt"));
    QCOMPARE(m_pRig->Cell(1, 0), QStringLiteral("report.txt"));
    QVERIFY(m_pRig->Cell(0, 1).endsWith(QStringLiteral("/a/")));
    QVERIFY(m_pRig->Cell(1, 1).endsWith(QStringLiteral("/b/")));
}

void TestFileListModel::ToolTip_IsTheWholeTextPath()
{
    m_pRig->List("/some where/notes.pdf");
    QString text = QString::fromStdString(m_pRig->dir / "some where/notes.txt");
    QCOMPARE(m_pRig->Cell(0, 0, Qt::ToolTipRole), text);
    QCOMPARE(m_pRig->Cell(0, 1, Qt::ToolTipRole), text);
}

void TestFileListModel::CellsOutsideTheListAndOtherRoles_AreEmpty()
{
    m_pRig->List("/d/a.pdf");
    CFileListModel& model = m_pRig->model;
    QVERIFY(!model.data(QModelIndex()).isValid());
    QVERIFY(!model.index(1, 0).isValid());
    QVERIFY(!model.data(model.index(0, 0), Qt::DecorationRole).isValid());
    QVERIFY(!model.data(model.index(0, 0), Qt::EditRole).isValid());
    QCOMPARE(model.ConverterAt(1), nullptr);
    QCOMPARE(model.ConverterAt(-1), nullptr);
    // A flat table: no row has children.
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
}

// The tester checks every signal against the model's state before and
// after the change it announces.
void TestFileListModel::EveryKindOfChange_KeepsTheModelSound()
{
    QAbstractItemModelTester tester(&m_pRig->model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    std::vector<const CConverter*> listed;
    for (const char* name : {"m", "c", "x", "a", "k", "q", "b", "z"})
        listed.push_back(m_pRig->List(std::string("/d/") + name + ".pdf"));
    QVERIFY(m_pRig->FollowsTheDoc());

    // Rows a, b and c in one range, x and z in another.
    m_pRig->doc.RemoveConverters({listed[1], listed[2], listed[3], listed[6], listed[7]});
    QVERIFY(m_pRig->FollowsTheDoc());
    QCOMPARE(m_pRig->model.rowCount(), 3);

    m_pRig->List("/d/a.pdf");
    QVERIFY(m_pRig->FollowsTheDoc());

    m_pRig->doc.OnNewDocument();
    QCOMPARE(m_pRig->model.rowCount(), 0);
    m_pRig->List("/d/again.pdf");
    QVERIFY(m_pRig->FollowsTheDoc());
}

void TestFileListModel::FileCountChanged_FollowsTheRecordedCount()
{
    QSignalSpy counts(&m_pRig->model, &CFileListModel::FileCountChanged);
    const CConverter* first = m_pRig->List("/d/a.pdf");
    m_pRig->List("/d/b.pdf");
    m_pRig->doc.RemoveConverters({first});
    m_pRig->doc.OnNewDocument();
    QCOMPARE(counts.count(), 4);
    for (int i : {0, 1, 2, 3})
        QCOMPARE(counts.at(i).at(0).toInt(), std::vector<int>({1, 2, 1, 0})[std::size_t(i)]);
}

void TestFileListModel::RemoveAll_EmptiesTheModelAndKeepsTwoColumns()
{
    QSignalSpy resets(&m_pRig->model, &QAbstractItemModel::modelReset);
    for (int i = 0; i < 5; ++i)
        m_pRig->List("/d/f" + std::to_string(i) + ".pdf");
    m_pRig->doc.OnNewDocument();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(m_pRig->model.rowCount(), 0);
    QCOMPARE(m_pRig->model.columnCount(), 2);
    QCOMPARE(m_pRig->model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Folder"));
}

void TestFileListModel::RowsInsertedOneByOne_KeepTheSelectionOnItsFiles()
{
    CFileListModel& model = m_pRig->model;
    QItemSelectionModel selection(&model);
    const CConverter* m = m_pRig->List("/d/m.pdf");
    const CConverter* p = m_pRig->List("/d/p.pdf");
    SelectRow(selection, 0);
    SelectRow(selection, 1);
    selection.setCurrentIndex(model.index(1, 0), QItemSelectionModel::NoUpdate);

    // Before, between and after the selected rows, one at a time.
    for (const char* name : {"a", "n", "z", "b", "o", "y"})
    {
        m_pRig->List(std::string("/d/") + name + ".pdf");
        QCOMPARE(SelectedConverters(model, selection), (std::set<const CConverter*>{m, p}));
        QCOMPARE(model.ConverterAt(selection.currentIndex().row()), p);
    }
    QVERIFY(m_pRig->FollowsTheDoc());
}

void TestFileListModel::RemovalOfScatteredRows_KeepsTheOthersSelected()
{
    CFileListModel& model = m_pRig->model;
    QItemSelectionModel selection(&model);
    std::vector<const CConverter*> listed;
    for (int i = 0; i < 20; ++i)
        listed.push_back(m_pRig->List("/d/f" + std::to_string(100 + i) + ".pdf"));
    for (int row : {1, 5, 6, 12, 19})
        SelectRow(selection, row);

    m_pRig->doc.RemoveConverters({listed[0], listed[5], listed[10], listed[11], listed[18]});
    QCOMPARE(model.rowCount(), 15);
    QCOMPARE(SelectedConverters(model, selection),
             (std::set<const CConverter*>{listed[1], listed[6], listed[12], listed[19]}));
    QVERIFY(m_pRig->FollowsTheDoc());
}

void TestFileListModel::RowsInsertedUnderAView_KeepItsSelectionOnItsFiles()
{
    CZeltoView view(m_pRig->doc, m_pRig->prompts);
    view.resize(500, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const CConverter* k = nullptr;
    for (int i = 0; i < 40; ++i)
    {
        const CConverter* listed = m_pRig->List("/d/k" + std::to_string(10 + i) + ".pdf");
        if (i == 20)
            k = listed;
    }
    view.selectionModel()->select(view.model()->index(m_pRig->RowOf(k), 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    for (int i = 0; i < 60; ++i)
    {
        // Half the new rows land above the selected one.
        m_pRig->List("/d/" + std::string(i % 2 ? "a" : "z") + std::to_string(i) + ".pdf");
        QCOMPARE(view.GetSelectedConverters(), Converters{k});
        if (i % 10 == 0)
            QCoreApplication::processEvents();
    }
    QCOMPARE(view.model()->rowCount(), 100);
    QVERIFY(m_pRig->FollowsTheDoc());
}

// Rows come in a shuffled order, so that most land in the middle of the
// list; the model must show exactly the document's rows afterwards.
void TestFileListModel::HundredThousandRows_StayConsistent()
{
    constexpr int kRows = 100000;
    std::vector<int> order(kRows);
    for (int i = 0; i < kRows; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(4));

    CFileListModel& model = m_pRig->model;
    QItemSelectionModel selection(&model);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    auto name = [](int i)
    { return "/data/folder" + std::to_string(i % 97) + "/file" + std::to_string(i) + ".pdf"; };
    // One drop up to the watched file, which is then selected; one for the
    // rest, which land around it.
    auto watchedAt = std::find(order.begin(), order.end(), 4242) + 1;
    std::vector<std::string> first;
    std::vector<std::string> rest;
    for (auto it = order.begin(); it != order.end(); ++it)
        (it < watchedAt ? first : rest).push_back(name(*it));
    const CConverter* watched = m_pRig->ListAll(first).back();
    SelectRow(selection, m_pRig->RowOf(watched));
    m_pRig->ListAll(rest);
    QCOMPARE(inserted.count(), kRows);
    QCOMPARE(model.rowCount(), kRows);
    QVERIFY(m_pRig->FollowsTheDoc());
    QCOMPARE(SelectedConverters(model, selection), (std::set<const CConverter*>{watched}));

    // Every seventh row goes, in one removal of many ranges.
    Converters removed;
    for (int row = 0; row < kRows; row += 7)
        removed.push_back(m_pRig->doc.ConverterAt(row));
    removed.erase(std::remove(removed.begin(), removed.end(), watched), removed.end());
    m_pRig->doc.RemoveConverters(removed);
    QCOMPARE(model.rowCount(), kRows - static_cast<int>(removed.size()));
    QVERIFY(m_pRig->FollowsTheDoc());
    QCOMPARE(SelectedConverters(model, selection), (std::set<const CConverter*>{watched}));
}

// Rows that enter during a batch wait; the model meanwhile shows an older
// state of the list, whole and in order, and shows them a few at a time
// while the batch goes on, all of them before a removal and when it ends.
void TestFileListModel::RowsEnteringInABatch_AreShownTogetherAndKeepTheModelSound()
{
    CFileListModel& model = m_pRig->model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QItemSelectionModel selection(&model);
    const CConverter* m = m_pRig->List("/d/m.pdf");
    SelectRow(selection, 0);

    model.BeginBatch();
    m_pRig->ListAll({"/d/a.pdf", "/d/z.pdf", "/d/n.pdf", "/d/b.pdf"});
    QVERIFY(m_pRig->ShowsPartOfTheDocInOrder());
    QCOMPARE(SelectedConverters(model, selection), (std::set<const CConverter*>{m}));
    QTRY_COMPARE(model.rowCount(), 5);
    QVERIFY(m_pRig->FollowsTheDoc());
    QCOMPARE(SelectedConverters(model, selection), (std::set<const CConverter*>{m}));

    m_pRig->List("/d/c.pdf");
    m_pRig->doc.RemoveConverters({m});
    QVERIFY(m_pRig->FollowsTheDoc());
    for (const char* name : {"y", "e", "x"})
        m_pRig->List(std::string("/d/") + name + ".pdf");
    QVERIFY(m_pRig->ShowsPartOfTheDocInOrder());
    model.EndBatch();
    QVERIFY(m_pRig->FollowsTheDoc());
    QVERIFY(!model.IsBatching());
}

void TestFileListModel::BatchOfRowsAllOverTheList_EntersInOneChangeKeepingTheSelection()
{
    CFileListModel& model = m_pRig->model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QItemSelectionModel selection(&model);
    std::vector<std::string> even;
    std::vector<std::string> odd;
    for (int i = 0; i < 60; ++i)
        (i % 2 ? odd : even).push_back("/d/f" + std::to_string(100 + i) + ".pdf");
    Converters shown = m_pRig->ListAll(even);
    SelectRow(selection, 20);
    selection.setCurrentIndex(model.index(10, 0), QItemSelectionModel::NoUpdate);
    QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);

    model.BeginBatch();
    m_pRig->ListAll(odd);
    model.EndBatch();

    QCOMPARE(layouts.count(), 1);
    QVERIFY(m_pRig->FollowsTheDoc());
    QCOMPARE(SelectedConverters(model, selection), (std::set<const CConverter*>{shown[20]}));
    QCOMPARE(model.ConverterAt(selection.currentIndex().row()), shown[10]);
}

QTEST_MAIN(TestFileListModel)
#include "tst_filelistmodel.moc"
