#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QFontMetrics>
#include <QImage>
#include <QtTest>

#include <memory>

// The window as the user first meets it, its About box, and the layer its connectors are painted on.
class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    QImage layer() const { return window->ui->label_2->pixmap(Qt::ReturnByValue).toImage(); }

private slots:
    void init()
    {
        window = std::make_unique<MainWindow>(nullptr, QString());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    void startUp_fixedTitledWindow_historyOff_removeHidden_iconsLoaded()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Vandora"));
        window->resize(1000, 500);
        QCOMPARE(window->size(), QSize(1820, 802));
        QVERIFY(!window->ui->goBack->isEnabled() && !window->ui->goForward->isEnabled());
        QVERIFY(!window->ui->pushButton->isVisible());
        for (const QIcon& icon : {window->windowIcon(), window->ui->open->icon(), window->ui->pushButton_2->icon()})
            QVERIFY(!icon.pixmap(16, 16).isNull());
    }

    void outputView_usesMonospacedFont()
    {
        // The rows of the drawing line up only when every character is equally wide.
        const QFontMetrics metrics(window->ui->drawOutput->font());
        for (const QChar c : QStringLiteral("W-|* M."))
            QCOMPARE(metrics.horizontalAdvance(c), metrics.horizontalAdvance(QLatin1Char('i')));
    }

    void f1_showsAbout_okClosesIt()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F1);
        QVERIFY(window->w.isVisible());
        QCOMPARE(window->w.findChild<QLabel*>(QStringLiteral("label"))->text(), QStringLiteral("Vandora"));
        QTest::mouseClick(window->w.findChild<QPushButton*>(QStringLiteral("pushButton")), Qt::LeftButton);
        QVERIFY(!window->w.isVisible());
    }

    void closingWindow_withBoxes_releasesEverything()
    {
        window->lastMousePosition = QPoint(40, 40);
        QVERIFY(window->addNewText());
        window->byteArrayOfPastStuf.push_back(new QByteArray("snapshot"));
        // LeakSanitizer fails the run if the window leaves anything behind.
        window.reset();
    }

    void connectorLayer_highlightedBlueOthersBlack_clearedWhenConnectorsGo()
    {
        QTRY_VERIFY(!window->m_draw_lines.isNull());
        QCOMPARE(window->ui->label_2->geometry(), window->ui->drawWidget->rect());
        QImage clear(window->ui->drawWidget->size(), layer().format());
        clear.fill(Qt::transparent);
        QCOMPARE(layer(), clear);
        for (const int y : {100, 300}) {
            window->m_data_line.emplace_back(window->ui->drawWidget, 4, y, false);
            window->m_data_line.back().addPoints(QPoint(100, y));
            window->m_data_line.back().addPoints(QPoint(200, y));
        }
        window->m_data_line.back().setObjColor(true);
        window->redrawAllLines();
        QCOMPARE(layer().pixel(150, 100), qRgb(0, 0, 0));
        QCOMPARE(layer().pixel(150, 300), qRgb(65, 105, 225));

        window->m_data_line.clear();
        window->redrawAllLines();
        QCOMPARE(layer(), clear);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
