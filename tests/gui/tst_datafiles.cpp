// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"
#include "app/DataFiles.h"

#include <QtTest>

class CDataFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void BesideTheProgram_IsFoundFirst();
    void InstalledDataFolder_IsFoundWhenNothingBesideTheProgram();
    void Missing_NamesInstalledPlaceWhenDataFolderExists();
    void Missing_NamesPlaceBesideProgramOtherwise();
    void FolderWithOrWithoutSeparator_GivesSamePaths();
    void EmptyProgramFolder_MeansCurrentFolder();
    void FolderInPlaceOfFile_IsPassedOver();
    void TrailingSeparator_IsAddedOnce();
};

void CDataFilesTest::BesideTheProgram_IsFoundFirst()
{
    CTempDir dir;
    dir.MakeFolder("bin");
    std::string beside = dir.Write("bin/tips.txt", "A\n");
    dir.Write("share/zelto-extractor/tips.txt", "B\n");
    QCOMPARE(CDataFiles::FindTipsFile(dir / "bin/"), beside);
}

void CDataFilesTest::InstalledDataFolder_IsFoundWhenNothingBesideTheProgram()
{
    CTempDir dir;
    dir.MakeFolder("bin");
    std::string installed = dir.Write("share/zelto-extractor/help/index.html", "<html/>");
    std::string tips = dir.Write("share/zelto-extractor/tips.txt", "B\n");
    QCOMPARE(CDataFiles::FindHelpFile(dir / "bin/"), installed);
    QCOMPARE(CDataFiles::FindTipsFile(dir / "bin/"), tips);
}

void CDataFilesTest::Missing_NamesInstalledPlaceWhenDataFolderExists()
{
    CTempDir dir;
    dir.MakeFolder("bin");
    dir.Write("share/zelto-extractor/tips.txt", "B\n");
    QCOMPARE(CDataFiles::FindHelpFile(dir / "bin/"), dir / "share/zelto-extractor/help/index.html");
}

void CDataFilesTest::Missing_NamesPlaceBesideProgramOtherwise()
{
    CTempDir dir;
    dir.MakeFolder("build");
    QCOMPARE(CDataFiles::FindHelpFile(dir / "build/"), dir / "build/help/index.html");
    QCOMPARE(CDataFiles::FindTipsFile(dir / "build/"), dir / "build/tips.txt");
}

void CDataFilesTest::FolderWithOrWithoutSeparator_GivesSamePaths()
{
    CTempDir dir;
    QCOMPARE(CDataFiles::Candidates(dir / "bin", "tips.txt"),
             CDataFiles::Candidates(dir / "bin/", "tips.txt"));
    std::vector<std::string> expected{dir / "bin/tips.txt", dir / "share/zelto-extractor/tips.txt"};
    QCOMPARE(CDataFiles::Candidates(dir / "bin/", "tips.txt"), expected);
}

void CDataFilesTest::EmptyProgramFolder_MeansCurrentFolder()
{
    std::vector<std::string> expected{"tips.txt", "../share/zelto-extractor/tips.txt"};
    QCOMPARE(CDataFiles::Candidates("", "tips.txt"), expected);
}

void CDataFilesTest::FolderInPlaceOfFile_IsPassedOver()
{
    CTempDir dir;
    dir.MakeFolder("bin/tips.txt");
    std::string installed = dir.Write("share/zelto-extractor/tips.txt", "B\n");
    QCOMPARE(CDataFiles::FindTipsFile(dir / "bin/"), installed);
}

void CDataFilesTest::TrailingSeparator_IsAddedOnce()
{
    QCOMPARE(CDataFiles::WithTrailingSeparator("/opt/zelto/bin"), std::string("/opt/zelto/bin/"));
    QCOMPARE(CDataFiles::WithTrailingSeparator("/opt/zelto/bin/"), std::string("/opt/zelto/bin/"));
    QCOMPARE(CDataFiles::WithTrailingSeparator(""), std::string());
}

QTEST_GUILESS_MAIN(CDataFilesTest)
#include "tst_datafiles.moc"
