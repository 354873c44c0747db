#include "testwindow.h"
#include "ui_mainwindow.h"

// Run from a folder without "images": the window still starts, its buttons plain.
class TestWithoutImages : public QObject
{
    Q_OBJECT

private slots:
    void missingImagesFolder_windowStartsWithPlainButtons()
    {
        QVERIFY(!QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/images")).exists());
        TestWindow t;
        QVERIFY(t.ui()->pushButton_2->icon().pixmap(16, 16).isNull());
        QCOMPARE(t.ui()->pushButton_2->text(), QStringLiteral("Save"));
    }
};

QTEST_MAIN(TestWithoutImages)
#include "tst_withoutimages.moc"
