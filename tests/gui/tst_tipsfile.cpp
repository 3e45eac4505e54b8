#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "platform/MemorySettings.h"
#include "platform/MessageTable.h"
#include "platform/TipsFile.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string Text(EMessageId id)
{
    return std::string(CMessageTable::Text(id));
}

std::string TimeTextOf(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return std::string();
    std::string text = CTipsFile::FileTimeText(fileno(file));
    std::fclose(file);
    return text;
}

bool KeepsBirthTime(const std::string& path)
{
#ifdef STATX_BTIME
    struct statx status = {};
    return ::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &status) == 0 &&
           (status.stx_mask & STATX_BTIME) != 0;
#else
    (void)path;
    return false;
#endif
}

// One run of the program: the tips file is opened, the first tip read, and
// the position stored when the object goes.
std::string FirstTipOfRun(const std::string& path, CSettings& settings, CPrompts& prompts)
{
    CTipsFile tips(path, settings, prompts);
    return tips.FirstText();
}

// Writes the file again under a new inode once the time text can differ
// from the old one (the text counts whole seconds).
void ReplaceFile(const CTempDir& dir, const std::string& name, const std::string& bytes)
{
    std::string path = dir / name;
    std::string before = TimeTextOf(path);
    for (int attempt = 0; attempt < 400; ++attempt)
    {
        std::filesystem::remove(path);
        dir.Write(name, bytes);
        if (TimeTextOf(path) != before)
            return;
        QTest::qSleep(10);
    }
}
} // namespace

class CTipsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void FirstRun_ShowsFirstTipAndStoresTimeAndPosition();
    void Runs_AdvanceOneTipEachAndWrapToFirst();
    void ReadNextTip_AdvancesAndWrapsWithinOneRun();
    void SkippedLines_NeverAppear_data();
    void SkippedLines_NeverAppear();
    void LongLine_ComesInPiecesOf999();
    void LongLine_SecondPieceIsJudgedLikeALine();
    void CrLfLines_ReadLikeTextMode();
    void StoredTimeTextDiffers_RestartsAtFirstTip();
    void ReplacedFile_RestartsAtFirstTip();
    void FileEditedInPlace_KeepsStoredPosition();
    void PositionBeyondShortenedEnd_ShowsFirstTip();
    void MissingFile_Gives107AndStoresNothing();
    void FolderInPlaceOfFile_CountsAsMissing();
    void UnreachablePosition_Shows108AndEmptyTip();
    void FileWithoutTips_SearchEndsWith108_data();
    void FileWithoutTips_SearchEndsWith108();
    void FileTimeText_IsCtimeTextWithoutLineEnd();
    void StartUpSetting_ZeroOrMissingMeansShow();
    void ShippedTipsFile_Holds15To25UsableTips();
};

void CTipsFileTest::FirstRun_ShowsFirstTipAndStoresTimeAndPosition()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "; comment\nFirst tip\nSecond tip\n");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    {
        CTipsFile tips(path, settings, prompts);
        QVERIFY(tips.IsOpen());
        QCOMPARE(tips.FirstText(), std::string("First tip\n"));
        QCOMPARE(settings.GetString("Tip", "TimeStamp"), TimeTextOf(path));
        QVERIFY(!settings.Has("Tip", "FilePos"));
    }
    QCOMPARE(settings.GetInt("Tip", "FilePos"), int(std::string("; comment\nFirst tip\n").size()));
    QVERIFY(!settings.Has("Tip", "StartUp"));
    QVERIFY(prompts.Messages().empty());
}

void CTipsFileTest::Runs_AdvanceOneTipEachAndWrapToFirst()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "One\nTwo\nThree\n");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    QStringList shown;
    for (int run = 0; run < 5; ++run)
        shown << QString::fromStdString(FirstTipOfRun(path, settings, prompts));
    QCOMPARE(shown, QStringList({"One\n", "Two\n", "Three\n", "One\n", "Two\n"}));
}

void CTipsFileTest::ReadNextTip_AdvancesAndWrapsWithinOneRun()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "One\n\nTwo\n;last comment\n");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    {
        CTipsFile tips(path, settings, prompts);
        QCOMPARE(tips.FirstText(), std::string("One\n"));
        QCOMPARE(tips.ReadNextTip(), std::string("Two\n"));
        QCOMPARE(tips.ReadNextTip(), std::string("One\n"));
        QCOMPARE(tips.ReadNextTip(), std::string("Two\n"));
    }
    // The next run goes on after the last tip read.
    QCOMPARE(FirstTipOfRun(path, settings, prompts), std::string("One\n"));
}

void CTipsFileTest::SkippedLines_NeverAppear_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("tips");
    QTest::newRow("comment") << "; a comment\nReal\n" << QStringList{"Real\n"};
    QTest::newRow("space") << " indented\nReal\n" << QStringList{"Real\n"};
    QTest::newRow("tab") << "\ttabbed\nReal\n" << QStringList{"Real\n"};
    QTest::newRow("empty line") << "\n\nReal\n\n" << QStringList{"Real\n"};
    QTest::newRow("number sign is a tip") << "# hash\n;x\nReal\n"
                                          << QStringList{"# hash\n", "Real\n"};
    QTest::newRow("last line without line end") << "Real\nLast" << QStringList{"Real\n", "Last"};
}

void CTipsFileTest::SkippedLines_NeverAppear()
{
    QFETCH(QString, content);
    QFETCH(QStringList, tips);
    CTempDir dir;
    std::string path = dir.Write("tips.txt", content.toStdString());
    CMemorySettings settings;
    CScriptedPrompts prompts;
    CTipsFile file(path, settings, prompts);
    QStringList seen{QString::fromStdString(file.FirstText())};
    for (int i = 1; i < 2 * tips.size(); ++i)
        seen << QString::fromStdString(file.ReadNextTip());
    QCOMPARE(seen, tips + tips);
}

void CTipsFileTest::LongLine_ComesInPiecesOf999()
{
    CTempDir dir;
    std::string line(1200, 'x');
    std::string path = dir.Write("tips.txt", line + "\nShort\n");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    CTipsFile tips(path, settings, prompts);
    QCOMPARE(tips.FirstText(), std::string(999, 'x'));
    QCOMPARE(tips.ReadNextTip(), std::string(201, 'x') + "\n");
    QCOMPARE(tips.ReadNextTip(), std::string("Short\n"));
}

void CTipsFileTest::LongLine_SecondPieceIsJudgedLikeALine()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", std::string(999, 'a') + " rest of the line\nNext\n");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    CTipsFile tips(path, settings, prompts);
    QCOMPARE(tips.FirstText(), std::string(999, 'a'));
    QCOMPARE(tips.ReadNextTip(), std::string("Next\n"));
}

void CTipsFileTest::CrLfLines_ReadLikeTextMode()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "First\r\n\r\n;note\r\nSecond\r\n");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    CTipsFile tips(path, settings, prompts);
    QCOMPARE(tips.FirstText(), std::string("First\n"));
    QCOMPARE(tips.ReadNextTip(), std::string("Second\n"));
    QCOMPARE(tips.ReadNextTip(), std::string("First\n"));
}

void CTipsFileTest::StoredTimeTextDiffers_RestartsAtFirstTip()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "One\nTwo\nThree\n");
    CMemorySettings settings;
    settings.SetString("Tip", "TimeStamp", "Thu Jan  1 00:00:00 1970");
    settings.SetInt("Tip", "FilePos", 4);
    CScriptedPrompts prompts;
    QCOMPARE(FirstTipOfRun(path, settings, prompts), std::string("One\n"));
    QCOMPARE(settings.GetString("Tip", "TimeStamp"), TimeTextOf(path));
    QCOMPARE(settings.GetInt("Tip", "FilePos"), 4);
}

void CTipsFileTest::ReplacedFile_RestartsAtFirstTip()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "One\nTwo\nThree\n");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    FirstTipOfRun(path, settings, prompts);
    QCOMPARE(FirstTipOfRun(path, settings, prompts), std::string("Two\n"));
    std::string oldTime = settings.GetString("Tip", "TimeStamp");

    ReplaceFile(dir, "tips.txt", "New one\nNew two\nNew three\n");
    QVERIFY(TimeTextOf(path) != oldTime);
    QCOMPARE(FirstTipOfRun(path, settings, prompts), std::string("New one\n"));
    QCOMPARE(settings.GetString("Tip", "TimeStamp"), TimeTextOf(path));
}

void CTipsFileTest::FileEditedInPlace_KeepsStoredPosition()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "Alpha\nBravo\nCharlie\n");
    if (!KeepsBirthTime(path))
        QSKIP("this file system keeps no birth time; editing changes the time text");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    QCOMPARE(FirstTipOfRun(path, settings, prompts), std::string("Alpha\n"));
    QCOMPARE(settings.GetInt("Tip", "FilePos"), 6);

    // Same file, new contents: the stored position now falls inside a line,
    // and the rest of that line is the next tip.
    std::FILE* file = std::fopen(path.c_str(), "r+");
    QVERIFY(file);
    std::fputs("XYZ\nAlphabet soup\nZulu\n", file);
    std::fclose(file);
    QCOMPARE(FirstTipOfRun(path, settings, prompts), std::string("phabet soup\n"));
}

void CTipsFileTest::PositionBeyondShortenedEnd_ShowsFirstTip()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "One\nTwo\n");
    CMemorySettings settings;
    settings.SetString("Tip", "TimeStamp", TimeTextOf(path));
    settings.SetInt("Tip", "FilePos", 5000);
    CScriptedPrompts prompts;
    QCOMPARE(FirstTipOfRun(path, settings, prompts), std::string("One\n"));
    QCOMPARE(settings.GetInt("Tip", "FilePos"), 4);
    QVERIFY(prompts.Messages().empty());
}

void CTipsFileTest::MissingFile_Gives107AndStoresNothing()
{
    CTempDir dir;
    CMemorySettings settings;
    CScriptedPrompts prompts;
    {
        CTipsFile tips(dir / "missing/tips.txt", settings, prompts);
        QVERIFY(!tips.IsOpen());
        QCOMPARE(tips.FirstText(), Text(EMessageId::TipsFileMissing));
        QCOMPARE(tips.ReadNextTip(), Text(EMessageId::TipsFileMissing));
    }
    QCOMPARE(settings.WriteCount(), 0);
    QVERIFY(prompts.Messages().empty());
}

void CTipsFileTest::FolderInPlaceOfFile_CountsAsMissing()
{
    CTempDir dir;
    std::string path = dir.MakeFolder("tips.txt");
    CMemorySettings settings;
    CScriptedPrompts prompts;
    {
        CTipsFile tips(path, settings, prompts);
        QVERIFY(!tips.IsOpen());
        QCOMPARE(tips.FirstText(), Text(EMessageId::TipsFileMissing));
    }
    QCOMPARE(settings.WriteCount(), 0);
}

void CTipsFileTest::UnreachablePosition_Shows108AndEmptyTip()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "One\nTwo\n");
    CMemorySettings settings;
    settings.SetString("Tip", "TimeStamp", TimeTextOf(path));
    settings.SetInt("Tip", "FilePos", -7);
    CScriptedPrompts prompts;
    {
        CTipsFile tips(path, settings, prompts);
        QVERIFY(tips.IsOpen());
        QCOMPARE(tips.FirstText(), std::string());
        QCOMPARE(prompts.FirstIds(), std::vector<EMessageId>{EMessageId::TipsFileUnreadable});
        QCOMPARE(prompts.Messages().front().style, EMessageStyle::Plain);
        QCOMPARE(tips.ReadNextTip(), std::string("One\n"));
    }
    QCOMPARE(settings.GetInt("Tip", "FilePos"), 4);
}

void CTipsFileTest::FileWithoutTips_SearchEndsWith108_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("storedPosition");
    QTest::newRow("empty file") << "" << 0;
    QTest::newRow("only comments") << "; one\n; two\n" << 0;
    QTest::newRow("only skipped lines, mid-file") << "; one\n\n  two\n\tthree\n" << 7;
}

void CTipsFileTest::FileWithoutTips_SearchEndsWith108()
{
    QFETCH(QString, content);
    QFETCH(int, storedPosition);
    CTempDir dir;
    std::string path = dir.Write("tips.txt", content.toStdString());
    CMemorySettings settings;
    settings.SetString("Tip", "TimeStamp", TimeTextOf(path));
    settings.SetInt("Tip", "FilePos", storedPosition);
    CScriptedPrompts prompts;
    CTipsFile tips(path, settings, prompts);
    QCOMPARE(tips.FirstText(), Text(EMessageId::TipsFileUnreadable));
    QCOMPARE(tips.ReadNextTip(), Text(EMessageId::TipsFileUnreadable));
    QVERIFY(prompts.Messages().empty());
}

void CTipsFileTest::FileTimeText_IsCtimeTextWithoutLineEnd()
{
    CTempDir dir;
    std::string path = dir.Write("tips.txt", "One\n");
    QString text = QString::fromStdString(TimeTextOf(path));
    QVERIFY2(
        QRegularExpression(R"(^\w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4}$)").match(text).hasMatch(),
        qPrintable(text));
}

void CTipsFileTest::StartUpSetting_ZeroOrMissingMeansShow()
{
    CMemorySettings settings;
    QVERIFY(CTipsFile::ShowAtStartup(settings));
    CTipsFile::StoreShowAtStartup(settings, false);
    QCOMPARE(settings.GetInt("Tip", "StartUp"), 1);
    QVERIFY(!CTipsFile::ShowAtStartup(settings));
    settings.SetInt("Tip", "StartUp", 7);
    QVERIFY(!CTipsFile::ShowAtStartup(settings));
    CTipsFile::StoreShowAtStartup(settings, true);
    QCOMPARE(settings.GetInt("Tip", "StartUp"), 0);
    QVERIFY(CTipsFile::ShowAtStartup(settings));
}

void CTipsFileTest::ShippedTipsFile_Holds15To25UsableTips()
{
    QString shipped = QFINDTESTDATA("../../res/tips.txt");
    QVERIFY(!shipped.isEmpty());
    CMemorySettings settings;
    CScriptedPrompts prompts;
    CTipsFile tips(shipped.toStdString(), settings, prompts);
    QSet<QString> seen;
    std::string tip = tips.FirstText();
    while (!seen.contains(QString::fromStdString(tip)))
    {
        QVERIFY2(tip.size() > 20 && tip.size() < 999, tip.c_str());
        QVERIFY2(tip.back() == '\n', tip.c_str());
        seen.insert(QString::fromStdString(tip));
        tip = tips.ReadNextTip();
    }
    QVERIFY2(seen.size() >= 15 && seen.size() <= 25, qPrintable(QString::number(seen.size())));
    QVERIFY(prompts.Messages().empty());
}

QTEST_GUILESS_MAIN(CTipsFileTest)
#include "tst_tipsfile.moc"
