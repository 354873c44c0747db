#include "dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestDialog : public QObject
{
    Q_OBJECT

private slots:
    void newDialog_showsTitleAndName();
    void okButton_closesDialog();
    void dialog_isModelessWindowWithCloseButton();
};

void TestDialog::newDialog_showsTitleAndName()
{
    Dialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("label"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Vandora"));
    QCOMPARE(label->geometry(), QRect(20, 30, 351, 201));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("pushButton"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->parentWidget()->objectName(), QStringLiteral("gridLayoutWidget"));
    QCOMPARE(dialog.size(), QSize(417, 309));
}

void TestDialog::okButton_closesDialog()
{
    Dialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("pushButton")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());

    dialog.show();
    QVERIFY(dialog.isVisible());
}

void TestDialog::dialog_isModelessWindowWithCloseButton()
{
    Dialog dialog;
    QVERIFY(!dialog.isModal());
    QVERIFY(dialog.isWindow());
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowTitleHint));
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
