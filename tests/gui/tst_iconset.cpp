// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"
#include "dialogs/IconSet.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtTest>

using EIcon = CIconSet::EIcon;
Q_DECLARE_METATYPE(EIcon)

namespace
{
int OpaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
        {
            if (qAlpha(image.pixel(x, y)) == 255)
                ++count;
        }
    }
    return count;
}

const char* const kSquareSvg =
    "<svg width='16' height='16'><rect width='16' height='16' fill='#ff00ff'/></svg>";
} // namespace

class TestIconSet : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void OwnIcons_DrawAt16PixelsAndOnHighDpi_data();
    void OwnIcons_DrawAt16PixelsAndOnHighDpi();
    void ApplicationIcon_HasItsOwnDrawingAt16Pixels();
    void ThemeIcon_IsPreferredWhereTheThemeHasOne();
    void MissingThemeIcon_FallsBackToOurs();
};

void TestIconSet::cleanup()
{
    QIcon::setThemeName(QString());
}

void TestIconSet::OwnIcons_DrawAt16PixelsAndOnHighDpi_data()
{
    QTest::addColumn<EIcon>("icon");
    QTest::newRow("add files") << EIcon::AddFiles;
    QTest::newRow("add folder") << EIcon::AddFolder;
    QTest::newRow("remove all") << EIcon::RemoveAll;
    QTest::newRow("paste files") << EIcon::PasteFiles;
    QTest::newRow("file manager") << EIcon::FileManager;
    QTest::newRow("about") << EIcon::About;
    QTest::newRow("application") << EIcon::Application;
}

void TestIconSet::OwnIcons_DrawAt16PixelsAndOnHighDpi()
{
    QFETCH(EIcon, icon);
    QVERIFY(QFile::exists(CIconSet::ResourcePath(icon)));
    QIcon own = CIconSet::OwnIcon(icon);
    QVERIFY(!own.isNull());

    QImage small = own.pixmap(QSize(16, 16), 1.0).toImage();
    QCOMPARE(small.size(), QSize(16, 16));
    QVERIFY(OpaquePixels(small) >= 16 * 16 / 5);

    // Drawn from the vector at twice the pixels, not blown up from 16.
    QPixmap sharp = own.pixmap(QSize(16, 16), 2.0);
    QCOMPARE(sharp.toImage().size(), QSize(32, 32));
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    QVERIFY(OpaquePixels(sharp.toImage()) >= 32 * 32 / 5);
}

void TestIconSet::ApplicationIcon_HasItsOwnDrawingAt16Pixels()
{
    QIcon application = CIconSet::OwnIcon(EIcon::Application);
    QImage small = application.pixmap(QSize(16, 16), 1.0).toImage();
    QImage simple =
        QIcon(QStringLiteral(":/icons/zelto-16.svg")).pixmap(QSize(16, 16), 1.0).toImage();
    QImage large =
        QIcon(CIconSet::ResourcePath(EIcon::Application)).pixmap(QSize(16, 16), 1.0).toImage();
    QCOMPARE(small.convertToFormat(QImage::Format_ARGB32),
             simple.convertToFormat(QImage::Format_ARGB32));
    QVERIFY(small.convertToFormat(QImage::Format_ARGB32) !=
            large.convertToFormat(QImage::Format_ARGB32));
}

void TestIconSet::ThemeIcon_IsPreferredWhereTheThemeHasOne()
{
    CTempDir themes;
    themes.Write("testtheme/index.theme", "[Icon Theme]\nName=Test\nDirectories=16x16/actions\n\n"
                                          "[16x16/actions]\nSize=16\nType=Fixed\n");
    themes.Write("testtheme/16x16/actions/edit-paste.svg", kSquareSvg);
    QIcon::setThemeSearchPaths({QString::fromStdString(themes.Path())});
    QIcon::setThemeName(QStringLiteral("testtheme"));

    QIcon paste = CIconSet::Icon(EIcon::PasteFiles);
    QImage image = paste.pixmap(QSize(16, 16), 1.0).toImage();
    QCOMPARE(image.pixelColor(8, 8), QColor(0xff, 0x00, 0xff));
}

void TestIconSet::MissingThemeIcon_FallsBackToOurs()
{
    CTempDir themes;
    themes.Write("emptytheme/index.theme", "[Icon Theme]\nName=Empty\nDirectories=16x16/actions\n\n"
                                           "[16x16/actions]\nSize=16\nType=Fixed\n");
    QIcon::setThemeSearchPaths({QString::fromStdString(themes.Path())});
    QIcon::setThemeName(QStringLiteral("emptytheme"));

    QImage fromSet = CIconSet::Icon(EIcon::About).pixmap(QSize(16, 16), 1.0).toImage();
    QImage ours = CIconSet::OwnIcon(EIcon::About).pixmap(QSize(16, 16), 1.0).toImage();
    QVERIFY(!fromSet.isNull());
    QCOMPARE(fromSet.convertToFormat(QImage::Format_ARGB32),
             ours.convertToFormat(QImage::Format_ARGB32));
}

QTEST_MAIN(TestIconSet)
#include "tst_iconset.moc"
