// Draws the two pictures of the splash and About windows:
//   SPLASHBACK.png  512 x 256  blue-violet ground, a tilted screen, a magnifying glass
//   SPLASHTEXT.png  512 x 128  the title in white on transparent
// Build and run (writes into the folder given, normally resources/):
//   cmake --build build --target draw_artwork && QT_QPA_PLATFORM=offscreen build/resources/draw_artwork resources
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QRadialGradient>
#include <QtCore/QDir>
#include <cstdio>

static QImage drawBack()
{
    QImage img(512, 256, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient ground(0, 0, 512, 256);
    ground.setColorAt(0.0, QColor(0x2b, 0x3f, 0xb8));
    ground.setColorAt(0.55, QColor(0x5a, 0x33, 0xc4));
    ground.setColorAt(1.0, QColor(0x7b, 0x2f, 0xa8));
    p.fillRect(img.rect(), ground);

    // A soft light behind the screen.
    QRadialGradient glow(QPointF(300, 110), 260);
    glow.setColorAt(0.0, QColor(255, 255, 255, 60));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);

    // Screen and glass stay in the background so the title reads over them.
    p.setOpacity(0.6);
    // The tilted screen: an outlined frame with a stand.
    p.save();
    p.translate(330, 120);
    p.rotate(-12);
    QPen frame(QColor(255, 255, 255, 200), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(frame);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawRoundedRect(QRectF(-130, -80, 260, 150), 14, 14);
    // subtitle lines on the screen
    p.setPen(QPen(QColor(255, 255, 255, 170), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-80, 40), QPointF(80, 40));
    p.drawLine(QPointF(-50, 56), QPointF(50, 56));
    p.setPen(frame);
    p.drawLine(QPointF(0, 70), QPointF(0, 95));
    p.drawLine(QPointF(-45, 97), QPointF(45, 97));
    p.restore();

    // The magnifying glass over the lower left of the screen.
    p.save();
    p.translate(190, 150);
    p.rotate(-20);
    p.setPen(QPen(QColor(0x1c, 0x15, 0x4a, 120), 26, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(48, 48), QPointF(104, 104));        // handle shadow
    p.setPen(QPen(QColor(0xf4, 0xf1, 0xff), 20, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(44, 44), QPointF(100, 100));        // handle
    p.setPen(QPen(QColor(0xf4, 0xf1, 0xff), 12));
    p.setBrush(QColor(190, 220, 255, 70));
    p.drawEllipse(QPointF(0, 0), 58, 58);                  // ring and lens
    p.setPen(QPen(QColor(255, 255, 255, 150), 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-38, -38, 76, 76), 100 * 16, 70 * 16); // reflection
    p.restore();
    return img;
}

static QImage drawText()
{
    QImage img(512, 128, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(72);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    QPainterPath title;
    title.addText(0, 0, f, QStringLiteral("Quennel"));
    const QRectF box = title.boundingRect();
    title.translate(QPointF(256, 64) - box.center());
    p.fillPath(title.translated(3, 3), QColor(0, 0, 0, 90)); // a faint drop shadow
    p.fillPath(title, Qt::white);
    return img;
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const bool ok = drawBack().save(out.filePath(QStringLiteral("SPLASHBACK.png")))
                 && drawText().save(out.filePath(QStringLiteral("SPLASHTEXT.png")));
    if (!ok) std::fprintf(stderr, "draw_artwork: cannot write into %s\n", argv[argc > 1 ? 1 : 0]);
    return ok ? 0 : 1;
}
