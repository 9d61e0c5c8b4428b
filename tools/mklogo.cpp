// Draws the program's logo for the delivery: KuvelaLogo.jpg (shown by the program)
// and KuvelaLogo.ico (shown by the setup).
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

QImage drawLogo(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size);
    sky.setColorAt(0, QColor(0x1f, 0x5f, 0xa8));
    sky.setColorAt(1, QColor(0x0b, 0x2f, 0x5c));
    QPainterPath card;
    const qreal m = size * 0.06;
    card.addRoundedRect(QRectF(m, m, size - 2 * m, size - 2 * m), size * 0.14, size * 0.14);
    p.fillPath(card, sky);
    // A folded invoice sheet with three lines.
    const QRectF sheet(size * 0.28, size * 0.18, size * 0.44, size * 0.50);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf7, 0xfb));
    p.drawRect(sheet);
    p.setBrush(QColor(0x9f, 0xb8, 0xd6));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(sheet.left() + size * 0.06, sheet.top() + size * (0.10 + 0.11 * i), sheet.width() - size * 0.12,
                          size * 0.04));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(8, int(size * 0.20)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, size * 0.68, size, size * 0.26), Qt::AlignCenter, QStringLiteral("Kuvela"));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mklogo <KuvelaLogo.jpg> <KuvelaLogo.ico>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!drawLogo(256).convertToFormat(QImage::Format_RGB32).save(QString::fromLocal8Bit(argv[1]), "JPG", 92)) {
        std::fprintf(stderr, "mklogo: cannot write %s\n", argv[1]);
        return 1;
    }
    if (!drawLogo(64).save(QString::fromLocal8Bit(argv[2]), "ICO")) {
        std::fprintf(stderr, "mklogo: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
