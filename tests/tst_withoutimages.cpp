#include "mainwindow.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>

// Run from a folder without "images": the window still starts, its buttons plain.
class TestWithoutImages : public QObject
{
    Q_OBJECT

private slots:
    void missingImagesFolder_windowStartsWithPlainButtons()
    {
        QVERIFY(!QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/images")).exists());
        MainWindow window(nullptr, QString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* save = window.findChild<QPushButton*>(QStringLiteral("pushButton_2"));
        QVERIFY(save->icon().pixmap(16, 16).isNull());
        QCOMPARE(save->text(), QStringLiteral("Save"));
    }
};

QTEST_MAIN(TestWithoutImages)
#include "tst_withoutimages.moc"
