#include "mainwindow.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>

class TestWithoutImages : public QObject
{
    Q_OBJECT

private slots:
    void missingImagesFolder_windowStartsWithPlainButtons();
};

void TestWithoutImages::missingImagesFolder_windowStartsWithPlainButtons()
{
    QVERIFY(!QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/images")).exists());

    MainWindow window(nullptr, QString());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Vandora"));
    for (const char* name : {"pushButton_2", "open", "pushButton"}) {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY(button);
        QVERIFY2(button->icon().pixmap(16, 16).isNull(), name);
    }
    QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("pushButton_2"))->text(), QStringLiteral("Save"));
}

QTEST_MAIN(TestWithoutImages)
#include "tst_withoutimages.moc"
