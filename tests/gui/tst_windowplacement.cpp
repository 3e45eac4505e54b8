// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"
#include "platform/MemorySettings.h"
#include "ui/QtSettings.h"
#include "ui/WindowPlacement.h"

#include <QMainWindow>
#include <QtTest>

using CValue = CWindowPlacement::CValue;
using CScreen = CWindowPlacement::CScreenMetrics;

Q_DECLARE_METATYPE(std::string)

namespace
{
const char* const kExample = "0,1,-1,-1,-1,-1,100,80,900,680";

CValue Example()
{
    CValue value;
    value.m_nFlags = 0;
    value.m_nShowCmd = 1;
    value.m_nMinX = value.m_nMinY = value.m_nMaxX = value.m_nMaxY = -1;
    value.m_nLeft = 100;
    value.m_nTop = 80;
    value.m_nRight = 900;
    value.m_nBottom = 680;
    return value;
}

CScreen Screen(QRect workArea, QSize screen = QSize(1024, 768), QSize icon = QSize(32, 32))
{
    return CScreen{workArea, screen, icon};
}

CValue WithNormal(int left, int top, int right, int bottom)
{
    CValue value = Example();
    value.m_nLeft = left;
    value.m_nTop = top;
    value.m_nRight = right;
    value.m_nBottom = bottom;
    return value;
}
} // namespace

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void ExampleText_ReadsAsItsTenNumbers();
    void ExampleNumbers_WriteAsTheExampleText();
    void MalformedText_IsIgnoredAsAWhole_data();
    void MalformedText_IsIgnoredAsAWhole();
    void TextAfterTheTenthNumber_IsAccepted_data();
    void TextAfterTheTenthNumber_IsAccepted();
    void Load_WithoutStoredValue_LeavesThePlacementAlone();

    void CreationRect_ShiftsAndClamps_data();
    void CreationRect_ShiftsAndClamps();
    void InsideOutRectangle_IsNotRestored();

    void Restore_GivesTheWindowItsSizePositionAndState_data();
    void Restore_GivesTheWindowItsSizePositionAndState();
    void Restore_WithoutStoredValue_ChangesNothing();
    void Save_StoresTheShowStateAndTheNormalRectangle();
    void SaveThenRestore_ThroughASettingsFile_GivesTheSamePlacement();
};

void TestWindowPlacement::ExampleText_ReadsAsItsTenNumbers()
{
    std::optional<CValue> value = CWindowPlacement::Parse(kExample);
    QVERIFY(value.has_value());
    QVERIFY(*value == Example());
}

void TestWindowPlacement::ExampleNumbers_WriteAsTheExampleText()
{
    QCOMPARE(CWindowPlacement::Format(Example()), std::string(kExample));
    CValue large = Example();
    large.m_nFlags = 4294967295u;
    large.m_nLeft = -2147483647 - 1;
    QCOMPARE(CWindowPlacement::Parse(CWindowPlacement::Format(large)), std::optional(large));
}

void TestWindowPlacement::MalformedText_IsIgnoredAsAWhole_data()
{
    QTest::addColumn<std::string>("text");
    QTest::newRow("empty") << std::string();
    QTest::newRow("nine numbers") << std::string("0,1,-1,-1,-1,-1,100,80,900");
    QTest::newRow("nine numbers and a comma") << std::string("0,1,-1,-1,-1,-1,100,80,900,");
    QTest::newRow("a letter for a number") << std::string("0,1,-1,-1,-1,-1,100,x,900,680");
    QTest::newRow("a letter for the last") << std::string("0,1,-1,-1,-1,-1,100,80,900,y");
    QTest::newRow("semicolons") << std::string("0;1;-1;-1;-1;-1;100;80;900;680");
    QTest::newRow("blank before a comma") << std::string("0 ,1,-1,-1,-1,-1,100,80,900,680");
    QTest::newRow("a sign alone") << std::string("0,1,-,-1,-1,-1,100,80,900,680");
    QTest::newRow("a number too large") << std::string("0,1,-1,-1,-1,-1,99999999999,80,900,680");
}

void TestWindowPlacement::MalformedText_IsIgnoredAsAWhole()
{
    QFETCH(std::string, text);
    QCOMPARE(CWindowPlacement::Parse(text), std::nullopt);

    CMemorySettings settings;
    settings.SetString("", "MainFrame", text);
    CValue value = WithNormal(1, 2, 3, 4);
    QVERIFY(!CWindowPlacement(settings).Load(value, "MainFrame"));
    QVERIFY(value == WithNormal(1, 2, 3, 4));
}

void TestWindowPlacement::TextAfterTheTenthNumber_IsAccepted_data()
{
    QTest::addColumn<std::string>("text");
    QTest::newRow("words") << std::string(kExample) + " and more";
    QTest::newRow("an eleventh number") << std::string(kExample) + ",55";
    QTest::newRow("blanks before numbers") << std::string(" 0, 1,-1,-1,-1,-1, 100, 80, 900, 680x");
    QTest::newRow("plus signs") << std::string("+0,+1,-1,-1,-1,-1,+100,80,900,680");
}

void TestWindowPlacement::TextAfterTheTenthNumber_IsAccepted()
{
    QFETCH(std::string, text);
    std::optional<CValue> value = CWindowPlacement::Parse(text);
    QVERIFY(value.has_value());
    QVERIFY(*value == Example());
}

void TestWindowPlacement::Load_WithoutStoredValue_LeavesThePlacementAlone()
{
    CMemorySettings settings;
    CValue value = WithNormal(5, 6, 7, 8);
    QVERIFY(!CWindowPlacement(settings).Load(value, "MainFrame"));
    QVERIFY(value == WithNormal(5, 6, 7, 8));

    settings.SetString("", "MainFrame", kExample);
    QVERIFY(CWindowPlacement(settings).Load(value, "MainFrame"));
    QVERIFY(value == Example());
}

void TestWindowPlacement::CreationRect_ShiftsAndClamps_data()
{
    QTest::addColumn<CValue>("value");
    QTest::addColumn<CScreen>("screen");
    QTest::addColumn<QRect>("expected");
    QRect whole(0, 0, 1024, 768);
    QTest::newRow("example") << Example() << Screen(whole) << QRect(100, 80, 800, 600);
    QTest::newRow("left of 5000 on a 1024 screen")
        << WithNormal(5000, 80, 5800, 680) << Screen(whole) << QRect(992, 80, 800, 600);
    QTest::newRow("top of 5000 on a 768 screen")
        << WithNormal(100, 5000, 900, 5600) << Screen(whole) << QRect(100, 736, 800, 600);
    QTest::newRow("left of -50 stays")
        << WithNormal(-50, 80, 750, 680) << Screen(whole) << QRect(-50, 80, 800, 600);
    QTest::newRow("work area 40 down")
        << WithNormal(100, 0, 900, 600) << Screen(QRect(0, 40, 1024, 728))
        << QRect(100, 40, 800, 600);
    QTest::newRow("work area right of a side panel")
        << WithNormal(0, 0, 400, 300) << Screen(QRect(64, 0, 960, 768)) << QRect(64, 0, 400, 300);
    QTest::newRow("shift then clamp") << WithNormal(980, 0, 1280, 300)
                                      << Screen(QRect(64, 0, 960, 768)) << QRect(992, 0, 300, 300);
    QTest::newRow("second screen to the right")
        << WithNormal(2000, 80, 2800, 680) << Screen(whole, QSize(2944, 1080))
        << QRect(2000, 80, 800, 600);
}

void TestWindowPlacement::CreationRect_ShiftsAndClamps()
{
    QFETCH(CValue, value);
    QFETCH(CScreen, screen);
    QFETCH(QRect, expected);
    QCOMPARE(CWindowPlacement::CreationRect(value, screen), expected);
}

void TestWindowPlacement::InsideOutRectangle_IsNotRestored()
{
    CMemorySettings settings;
    settings.SetString("", "MainFrame", "0,1,-1,-1,-1,-1,900,80,100,680");
    QMainWindow window;
    window.setGeometry(10, 20, 300, 200);

    QVERIFY(
        !CWindowPlacement(settings).Restore(window, "MainFrame", Screen(QRect(0, 0, 1024, 768))));
    QCOMPARE(window.geometry(), QRect(10, 20, 300, 200));
    QCOMPARE(
        CWindowPlacement::CreationRect(WithNormal(100, 80, 100, 680), Screen({0, 0, 1024, 768})),
        QRect());
}

void TestWindowPlacement::Restore_GivesTheWindowItsSizePositionAndState_data()
{
    QTest::addColumn<unsigned>("showCmd");
    QTest::addColumn<Qt::WindowStates>("state");
    QTest::newRow("normal") << 1u << Qt::WindowStates(Qt::WindowNoState);
    QTest::newRow("minimised") << 2u << Qt::WindowStates(Qt::WindowMinimized);
    QTest::newRow("maximised") << 3u << Qt::WindowStates(Qt::WindowMaximized);
    QTest::newRow("unknown state opens normally") << 0u << Qt::WindowStates(Qt::WindowNoState);
}

void TestWindowPlacement::Restore_GivesTheWindowItsSizePositionAndState()
{
    QFETCH(unsigned, showCmd);
    QFETCH(Qt::WindowStates, state);
    CMemorySettings settings;
    CValue stored = WithNormal(100, 0, 700, 400);
    stored.m_nShowCmd = showCmd;
    settings.SetString("", "MainFrame", CWindowPlacement::Format(stored));
    QMainWindow window;

    QVERIFY(
        CWindowPlacement(settings).Restore(window, "MainFrame", Screen(QRect(0, 40, 1024, 728))));

    QCOMPARE(window.windowState(), state);
    QCOMPARE(window.isMaximized() ? window.normalGeometry() : window.geometry(),
             QRect(100, 40, 600, 400));
}

void TestWindowPlacement::Restore_WithoutStoredValue_ChangesNothing()
{
    CMemorySettings settings;
    QMainWindow window;
    window.setGeometry(10, 20, 300, 200);
    QVERIFY(!CWindowPlacement(settings).Restore(window, "MainFrame"));
    QCOMPARE(window.geometry(), QRect(10, 20, 300, 200));
    QCOMPARE(window.windowState(), Qt::WindowStates(Qt::WindowNoState));
}

void TestWindowPlacement::Save_StoresTheShowStateAndTheNormalRectangle()
{
    CMemorySettings settings;
    CScreen screen = Screen(QRect(0, 40, 1024, 728));
    QMainWindow window;
    window.setGeometry(100, 120, 800, 600);

    QVERIFY(CWindowPlacement(settings).Save(window, "MainFrame", screen));
    QCOMPARE(settings.GetString("", "MainFrame"), std::string("0,1,-1,-1,-1,-1,100,80,900,680"));

    window.setWindowState(Qt::WindowMinimized);
    QVERIFY(CWindowPlacement(settings).Save(window, "MainFrame", screen));
    QCOMPARE(settings.GetString("", "MainFrame"), std::string("0,2,-1,-1,-1,-1,100,80,900,680"));

    window.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
    QVERIFY(CWindowPlacement(settings).Save(window, "MainFrame", screen));
    QCOMPARE(settings.GetString("", "MainFrame").substr(0, 4), std::string("2,2,"));
}

void TestWindowPlacement::SaveThenRestore_ThroughASettingsFile_GivesTheSamePlacement()
{
    CTempDir folder;
    QString path = QString::fromStdString(folder / "zelto.ini");
    {
        QMainWindow window;
        window.setGeometry(150, 90, 640, 480);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setWindowState(Qt::WindowMaximized);
        CQtSettings settings(path);
        QVERIFY(CWindowPlacement(settings).Save(window, "MainFrame"));
    }
    CQtSettings settings(path);
    QMainWindow window;
    QVERIFY(CWindowPlacement(settings).Restore(window, "MainFrame"));
    QVERIFY(window.windowState() & Qt::WindowMaximized);
    QCOMPARE(window.normalGeometry(), QRect(150, 90, 640, 480));
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
