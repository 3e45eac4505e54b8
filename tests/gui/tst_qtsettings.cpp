// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"
#include "cli/IniSettings.h"
#include "ui/QtSettings.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

#include <climits>
#include <memory>
#include <string>
#include <vector>

using namespace std::string_literals;

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
    void CommandsReader_ReadsTheValuesTheWindowWrote();

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

void TestQtSettings::CommandsReader_ReadsTheValuesTheWindowWrote()
{
    struct CText
    {
        std::string section, name, text;
    };
    const std::vector<CText> texts = {
        {"", "File Open Path", "/home/ann/D\xC3\xB6k\xC3\xBCmente, alt/PDF \"neu\"/"},
        {"", "Folder",
         "C:\\Users\\Ann\\B\xC3\xBC"
         "cher\\"},
        {"", "MainFrame", "0,1,-1,-1,-1,-1,100,80,900,680"},
        {"", "Odd %name=;[x] \xC3\xA9\xE2\x82\xAC", "a=b; not # a comment"},
        {"", "Blanks", "  around\t "},
        {"", "Lines", "one\ntwo\r\nthree\x01\x7F"},
        {"", "Tagged", "@ByteArray(not bytes)"},
        {"", "WithNul", "a\0b1"s},
        {"", "Empty", ""},
        {"General", "Group", "named General"},
        {"Tip", "TimeStamp", "Tue, 8 Dec 2026 10:00"},
        {"Tip", "Padded", " 12 "},
        {"\xC3\x9C"
         "bersicht",
         "Gr\xC3\xBC\xC3\x9F"
         "e",
         "\xF0\x9F\x98\x80 \xE2\x82\xAC"},
    };
    const std::vector<std::pair<std::string, int>> numbers = {
        {"StartUp", 1}, {"FilePos", -7}, {"Largest", INT_MAX}, {"Smallest", INT_MIN}};
    CTempDir folder;
    QString path = QString::fromStdString(folder / "zelto.ini");
    {
        CQtSettings window(path);
        for (const CText& entry : texts)
            window.SetString(entry.section, entry.name, entry.text);
        for (const auto& [name, value] : numbers)
            window.SetInt("Tip", name, value);
    }
    int error = -1;
    std::optional<CIniSettings> command = CIniSettings::Load(path.toStdString(), error);
    QVERIFY(command);
    CQtSettings window(path);
    for (const CText& entry : texts)
    {
        QCOMPARE(QString::fromStdString(command->GetString(entry.section, entry.name)),
                 QString::fromStdString(entry.text));
        QCOMPARE(command->GetInt(entry.section, entry.name),
                 window.GetInt(entry.section, entry.name));
    }
    for (const auto& [name, value] : numbers)
    {
        QCOMPARE(command->GetInt("Tip", name), value);
        QCOMPARE(command->GetString("Tip", name), window.GetString("Tip", name));
    }
}

QTEST_MAIN(TestQtSettings)
#include "tst_qtsettings.moc"
