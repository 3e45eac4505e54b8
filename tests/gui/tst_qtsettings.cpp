#include "TempDir.h"
#include "ui/QtSettings.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

#include <climits>
#include <memory>

class TestQtSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void String_RoundTripsThroughTheFile();
    void EmptySection_KeepsValuesDirectlyInTheProgramsKey();
    void Integer_RoundTrips_data();
    void Integer_RoundTrips();
    void AbsentValues_ReadAsEmptyAndZero();
    void TextThatIsNotANumber_ReadsAsZero();
    void PlacementText_ReadsBackWhole_EvenWhenWrittenUnquoted();
    void UsersSettings_AreKeptUnderTheCompanyAndProgramName();

private:
    std::unique_ptr<CTempDir> m_pConfigHome;
    QString IniPath() const { return QString::fromStdString(*m_pConfigHome / "test.ini"); }
};

void TestQtSettings::initTestCase()
{
    // The user's own settings must never be touched: the per-user store is
    // pointed at a temporary folder before anything reads it.
    m_pConfigHome = std::make_unique<CTempDir>();
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_pConfigHome->Path()));
}

void TestQtSettings::String_RoundTripsThroughTheFile()
{
    QString path = IniPath();
    {
        CQtSettings settings(path);
        settings.SetString("", "File Open Path", "/home/ann/Documents/PDF files/");
        settings.SetString("Tip", "TimeStamp", "Tue, 8 Dec 2026 10:00");
    }
    CQtSettings again(path);
    QCOMPARE(again.GetString("", "File Open Path"), std::string("/home/ann/Documents/PDF files/"));
    QCOMPARE(again.GetString("Tip", "TimeStamp"), std::string("Tue, 8 Dec 2026 10:00"));
}

void TestQtSettings::EmptySection_KeepsValuesDirectlyInTheProgramsKey()
{
    CTempDir folder;
    QString path = QString::fromStdString(folder / "zelto.ini");
    {
        CQtSettings settings(path);
        settings.SetString("", "MainFrame", "0,1,-1,-1,-1,-1,100,80,900,680");
        settings.SetInt("Tip", "StartUp", 1);
    }
    QSettings raw(path, QSettings::IniFormat);
    QCOMPARE(raw.childKeys(), QStringList{"MainFrame"});
    QCOMPARE(raw.childGroups(), QStringList{"Tip"});
    raw.beginGroup("Tip");
    QCOMPARE(raw.childKeys(), QStringList{"StartUp"});
}

void TestQtSettings::Integer_RoundTrips_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("negative") << -7;
    QTest::newRow("largest") << INT_MAX;
    QTest::newRow("smallest") << INT_MIN;
}

void TestQtSettings::Integer_RoundTrips()
{
    QFETCH(int, value);
    CTempDir folder;
    QString path = QString::fromStdString(folder / "zelto.ini");
    CQtSettings(path).SetInt("Tip", "FilePos", value);
    QCOMPARE(CQtSettings(path).GetInt("Tip", "FilePos"), value);
}

void TestQtSettings::AbsentValues_ReadAsEmptyAndZero()
{
    CTempDir folder;
    CQtSettings settings(QString::fromStdString(folder / "missing.ini"));
    QCOMPARE(settings.GetString("", "File Open Path"), std::string());
    QCOMPARE(settings.GetInt("Tip", "StartUp"), 0);
    QVERIFY(!QFile::exists(QString::fromStdString(folder / "missing.ini")));
}

void TestQtSettings::TextThatIsNotANumber_ReadsAsZero()
{
    CTempDir folder;
    CQtSettings settings(QString::fromStdString(folder / "zelto.ini"));
    settings.SetString("Tip", "FilePos", "twelve");
    QCOMPARE(settings.GetInt("Tip", "FilePos"), 0);
}

void TestQtSettings::PlacementText_ReadsBackWhole_EvenWhenWrittenUnquoted()
{
    CTempDir folder;
    std::string path =
        folder.Write("zelto.ini", "[General]\nMainFrame=0,3,-1,-1,-1,-1,10,20,30,40\n");
    CQtSettings settings(QString::fromStdString(path));
    QCOMPARE(settings.GetString("", "MainFrame"), std::string("0,3,-1,-1,-1,-1,10,20,30,40"));
}

void TestQtSettings::UsersSettings_AreKeptUnderTheCompanyAndProgramName()
{
    {
        CQtSettings settings;
        settings.SetString("", "File Open Path", "/srv/pdf/");
        QCOMPARE(settings.Location(),
                 QString::fromStdString(*m_pConfigHome / "Orrinval Software/Zelto.conf"));
        QVERIFY(settings.IsWritable());
    }
    QSettings raw(QString::fromStdString(*m_pConfigHome / "Orrinval Software/Zelto.conf"),
                  QSettings::IniFormat);
    QCOMPARE(raw.value("File Open Path").toString(), QStringLiteral("/srv/pdf/"));
    QCOMPARE(CQtSettings().GetString("", "File Open Path"), std::string("/srv/pdf/"));
}

QTEST_MAIN(TestQtSettings)
#include "tst_qtsettings.moc"
