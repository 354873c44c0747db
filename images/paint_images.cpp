// Paints the program's four pictures into the folder given as the only argument.
// Run once by hand (cmake --build build --target paint_images); the PNGs are committed.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage paintSave()
{
    QImage image = canvas(64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 40, 70), 3));
    p.setBrush(QColor(40, 80, 140));
    QPainterPath body;
    body.moveTo(8, 8);
    body.lineTo(48, 8);
    body.lineTo(56, 16);
    body.lineTo(56, 56);
    body.lineTo(8, 56);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(230, 235, 240));
    p.drawRect(18, 10, 26, 16);
    p.setBrush(Qt::white);
    p.drawRect(16, 34, 32, 20);
    p.setPen(QPen(QColor(120, 130, 140), 2));
    for (int y = 40; y <= 48; y += 4)
        p.drawLine(20, y, 44, y);
    return image;
}

QImage paintOpen()
{
    QImage image = canvas(64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 80, 10), 3));
    p.setBrush(QColor(230, 170, 40));
    QPainterPath back;
    back.moveTo(6, 14);
    back.lineTo(24, 14);
    back.lineTo(30, 20);
    back.lineTo(54, 20);
    back.lineTo(54, 52);
    back.lineTo(6, 52);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 205, 90));
    QPainterPath front;
    front.moveTo(6, 52);
    front.lineTo(16, 28);
    front.lineTo(60, 28);
    front.lineTo(54, 52);
    front.closeSubpath();
    p.drawPath(front);
    return image;
}

QImage paintRemoveLast()
{
    QImage image = canvas(64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(Qt::white);
    p.drawRect(6, 18, 30, 20);
    p.setPen(QPen(QColor(200, 30, 30), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(38, 30, 58, 50);
    p.drawLine(58, 30, 38, 50);
    return image;
}

QImage paintIcon()
{
    QImage image = canvas(256);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 247, 250));
    p.drawRoundedRect(8, 8, 240, 240, 36, 36);
    p.setPen(QPen(QColor(65, 105, 225), 8, Qt::DotLine, Qt::RoundCap));
    p.drawLine(128, 92, 128, 164);
    p.setPen(QPen(Qt::black, 8));
    p.setBrush(Qt::white);
    p.drawRect(48, 36, 160, 56);
    p.drawRect(48, 164, 160, 56);
    p.setPen(QPen(QColor(60, 60, 60), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(72, 64, 184, 64);
    p.drawLine(72, 192, 160, 192);
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const bool ok = paintSave().save(out.filePath(QStringLiteral("save.png")))
        && paintOpen().save(out.filePath(QStringLiteral("openFile.png")))
        && paintRemoveLast().save(out.filePath(QStringLiteral("removeLast.png")))
        && paintIcon().save(out.filePath(QStringLiteral("icon.png")));
    return ok ? 0 : 1;
}
