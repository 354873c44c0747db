#include "commandline.h"

#include <QtTest>

#include <vector>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void chartFile_onlyWhenExactlyOneArgument_data();
    void chartFile_onlyWhenExactlyOneArgument();
};

void TestCommandLine::chartFile_onlyWhenExactlyOneArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << QStringList{} << QString();
    QTest::newRow("one") << QStringList{QStringLiteral("chart.fcb")} << QStringLiteral("chart.fcb");
    QTest::newRow("one with a path") << QStringList{QStringLiteral("/home/a b/plan.fcb")}
                                     << QStringLiteral("/home/a b/plan.fcb");
    QTest::newRow("one in UTF-8") << QStringList{QStringLiteral("Ablauf-\u00fcbersicht.fcb")}
                                  << QStringLiteral("Ablauf-\u00fcbersicht.fcb");
    QTest::newRow("two") << QStringList{QStringLiteral("a.fcb"), QStringLiteral("b.fcb")} << QString();
    QTest::newRow("three") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
                           << QString();
}

void TestCommandLine::chartFile_onlyWhenExactlyOneArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    std::vector<QByteArray> storage{QByteArrayLiteral("vandora")};
    for (const QString& argument : arguments)
        storage.push_back(argument.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& bytes : storage)
        argv.push_back(bytes.constData());
    argv.push_back(nullptr);

    QCOMPARE(chartFileFromArguments(static_cast<int>(storage.size()), argv.data()), expected);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
