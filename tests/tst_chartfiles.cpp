#include "chartfiles.h"
#include "chartrender.h"

#include <QMap>
#include <QtTest>

namespace {

ChartStream::BoxRecord box(double x, double y, const QString& text)
{
    ChartStream::BoxRecord b;
    b.proportion = QPointF(x, y);
    b.text = text;
    return b;
}

// Fractions along grid row 30 (canvas y = 0.5) ending in column `firstColumn` + count - 1, after the shift.
ChartStream::ConnectorRecord connector(int firstColumn, int count)
{
    ChartStream::ConnectorRecord c;
    for (int k = 0; k < count; ++k) {
        c.points.push_back(QPoint(k, k));
        c.fractions.push_back({float(firstColumn + 1 + k) / 114.0f, 0.5f});
    }
    return c;
}

// A blank 61-row drawing of 114 columns, framed by "// " and " <", with the listed rows replaced.
QStringList drawing(const QMap<int, QString>& shown)
{
    QStringList rows;
    for (int r = 0; r < 61; ++r)
        rows << QStringLiteral("// ") + shown.value(r).leftJustified(114, QLatin1Char(' ')) + QStringLiteral(" <");
    return rows;
}

} // namespace

class TestChartFiles : public QObject
{
    Q_OBJECT

private slots:
    void names_backupAndFolder_data();
    void names_backupAndFolder();
    void gridInput_drawsTheCanvasAsTheProgramDoes_data();
    void gridInput_drawsTheCanvasAsTheProgramDoes();
    void exportBytes_joinsRowsWithLineFeedsInUtf8();
    void settingsFile_movesToConfigFolderWhenProgramFolderIsReadOnly();
};

void TestChartFiles::names_backupAndFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("backup");
    QTest::addColumn<QString>("folder");

    QTest::newRow("txt") << "plan.txt" << "plan.fcb" << "plan.txt";
    QTest::newRow("two dots") << "plan.old.txt" << "plan.old.fcb" << "plan.old.txt";
    QTest::newRow("no dot") << "plan" << "plan.fcb" << "plan";
    QTest::newRow("drive path") << "C:/charts/plan.txt" << "C:/charts/plan.fcb" << "C:/charts/";
    QTest::newRow("dot only in the folder") << "/tmp/my.charts/plan" << "/tmp/my.charts/plan.fcb" << "/tmp/my.charts/";
    QTest::newRow("trailing dot") << "/a/plan." << "/a/plan.fcb" << "/a/";
    QTest::newRow("non-ASCII") << "/h/\u00fcbersicht.txt" << "/h/\u00fcbersicht.fcb" << "/h/";
}

void TestChartFiles::names_backupAndFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, backup);
    QFETCH(QString, folder);

    QCOMPARE(ChartFiles::backupNameFor(name), backup);
    QCOMPARE(ChartFiles::folderOf(name), folder);
}

void TestChartFiles::gridInput_drawsTheCanvasAsTheProgramDoes_data()
{
    QTest::addColumn<bool>("borders");
    QTest::addColumn<QStringList>("expected");

    const QString pad(10, QLatin1Char(' '));
    QTest::newRow("borders") << true
                             << drawing({{5, pad + "|---|"}, {6, pad + "|Hi |"}, {7, pad + "|   |"},
                                         {8, pad + "|you|"}, {9, pad + "|   |"}, {10, pad + "|---|"},
                                         {30, QString(20, QLatin1Char(' ')) + "*****"}});
    QTest::newRow("no borders") << false
                                << drawing({{6, pad + " Hi"}, {8, pad + " you"},
                                            {30, QString(20, QLatin1Char(' ')) + "*****"}});
}

void TestChartFiles::gridInput_drawsTheCanvasAsTheProgramDoes()
{
    QFETCH(bool, borders);
    QFETCH(QStringList, expected);

    ChartStream::Chart chart;
    chart.window.startTag = QStringLiteral("// ");
    chart.window.endTag = QStringLiteral(" <");
    // "\r\n" is two line breaks; hidden: a box without text and a connector of only four points.
    chart.boxes = {box(0.1, 0.1, QStringLiteral("Hi\r\nyou\n")), box(0.5, 0.8, QString())};
    chart.connectors = {connector(20, 5), connector(60, 4)};

    const std::vector<QString> rows = CharGrid::render(ChartRender::gridInputFor(chart, borders));
    QCOMPARE(QStringList(rows.begin(), rows.end()), expected);
}

void TestChartFiles::exportBytes_joinsRowsWithLineFeedsInUtf8()
{
    QCOMPARE(ChartRender::exportBytes({QStringLiteral("a\u00e9"), QString(), QStringLiteral("b ")}),
             QByteArray("a\xc3\xa9\n\nb "));
    QCOMPARE(ChartRender::exportBytes({}), QByteArray());
}

void TestChartFiles::settingsFile_movesToConfigFolderWhenProgramFolderIsReadOnly()
{
    const QString program = QStringLiteral("/usr/lib/vandora");
    const QString config = QStringLiteral("/home/u/.config/Vandora");
    QCOMPARE(ChartFiles::settingsFilePath(program, true, config), program + QStringLiteral("/flowChart.settings"));
    QCOMPARE(ChartFiles::settingsFilePath(program, false, config), config + QStringLiteral("/flowChart.settings"));
}

QTEST_APPLESS_MAIN(TestChartFiles)
#include "tst_chartfiles.moc"
