// Draws every picture Vokara ships (message box parts, loudspeaker, application icon) into a given folder.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// Geometry of the message box; the program places the pictures unscaled at these spots, so they must agree.
constexpr int kBoxWidth = 350;
constexpr int kBoxHeight = 150;
constexpr QPoint kIconPos{12, 4};
constexpr QSize kIconSize{42, 43};
constexpr QSize kButtonSize{88, 26};

constexpr int kJpegQuality = 92;

// Shared palette, kept in one place so the background, icons and buttons read as one family.
const QColor kFramePale{250, 242, 198};
const QColor kFrameRim{222, 198, 118};
const QColor kStripTop{255, 240, 160};
const QColor kStripMiddle{252, 216, 88};
const QColor kStripBottom{240, 190, 42};
const QColor kStripLine{204, 158, 34};
const QColor kBodyBorder{178, 178, 178};
const QColor kGold{196, 140, 6};
const QColor kGoldDark{150, 104, 0};
const QColor kButtonText{60, 50, 20};
const QColor kButtonLine{190, 146, 30};
const QColor kHighlightRed{210, 30, 30};

struct Fonts {
    QString regular;
    QString bold;
};

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Fonts come from fixed files so the drawing never depends on which family fontconfig would pick.
QString loadFont(const QString& path)
{
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = id < 0 ? QStringList{} : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        err() << "rysunki: cannot load font " << path << Qt::endl;
        std::exit(1);
    }
    return families.first();
}

QFont makeFont(const QString& family, qreal pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage blankImage(QSize size, const QColor& fill, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(fill);
    return image;
}

void save(const QImage& image, const QDir& dir, const QString& name, int quality = -1)
{
    const QString path = dir.filePath(name);
    QImageWriter writer(path);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image)) {
        err() << "rysunki: cannot write " << path << ": " << writer.errorString() << Qt::endl;
        std::exit(1);
    }
}

// A glyph outline centred on a point, so single signs (i, ?, !, V) sit visually in the middle of their field.
QPainterPath centredGlyph(const QFont& font, const QString& text, QPointF centre, qreal height)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    const qreal scale = height / bounds.height();
    QTransform transform;
    transform.translate(centre.x(), centre.y());
    transform.scale(scale, scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform.map(path);
}

// The whole message box background in window coordinates; icons reuse it so they blend in at their place.
void paintDialogBackground(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);

    p.fillRect(QRect(0, 0, kBoxWidth, kBoxHeight), kFramePale);
    // The window has no system border, so a slightly darker rim keeps its edge visible on light desktops.
    p.setPen(QPen(kFrameRim, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kBoxWidth - 1, kBoxHeight - 1));

    const QRectF strip(3.5, 3.5, kBoxWidth - 7, 26);
    QLinearGradient stripFill(0, strip.top(), 0, strip.bottom());
    stripFill.setColorAt(0.0, kStripTop);
    stripFill.setColorAt(0.55, kStripMiddle);
    stripFill.setColorAt(1.0, kStripBottom);
    p.setPen(QPen(kStripLine, 1));
    p.setBrush(stripFill);
    p.drawRoundedRect(strip, 11, 11);

    // A faint sheen on the upper half makes the strip read as a soft, rounded bar rather than a flat band.
    const QRectF sheen(strip.left() + 3, strip.top() + 1.5, strip.width() - 6, 10);
    QLinearGradient sheenFill(0, sheen.top(), 0, sheen.bottom());
    sheenFill.setColorAt(0.0, QColor(255, 255, 255, 120));
    sheenFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheenFill);
    p.drawRoundedRect(sheen, 8, 5);

    const QRectF body(4.5, 33.5, kBoxWidth - 9, kBoxHeight - 38);
    p.setPen(QPen(kBodyBorder, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(body, 6, 6);
}

QImage dialogBackground()
{
    QImage image = blankImage({kBoxWidth, kBoxHeight}, Qt::white);
    QPainter p(&image);
    paintDialogBackground(p);
    return image;
}

// The icon is cut from the finished background and painted over, so its corners match what lies behind it.
QImage dialogIcon(const QImage& background, const Fonts& fonts, const QString& sign)
{
    QImage image = background.copy(QRect(kIconPos, kIconSize));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // JPEG shares colour between pixel pairs, so the square keeps two clear rows and columns on every side:
    // then the outer pixels share colour only with background pixels, exactly as in the background picture.
    const QRectF frame(2.5, 2.5, 37, 37);
    QLinearGradient frameFill(0, frame.top(), 0, frame.bottom());
    frameFill.setColorAt(0.0, QColor(255, 228, 120));
    frameFill.setColorAt(1.0, QColor(232, 176, 34));
    p.setPen(QPen(QColor(176, 128, 16), 1));
    p.setBrush(frameFill);
    p.drawRoundedRect(frame, 8, 8);

    const QRectF field = frame.adjusted(4, 4, -4, -4);
    QLinearGradient fieldFill(0, field.top(), 0, field.bottom());
    fieldFill.setColorAt(0.0, Qt::white);
    fieldFill.setColorAt(1.0, QColor(255, 251, 236));
    p.setPen(QPen(QColor(214, 172, 60), 1));
    p.setBrush(fieldFill);
    p.drawRoundedRect(field, 5, 5);

    const QFont font = makeFont(fonts.bold, 64, true);
    const QPainterPath glyph = centredGlyph(font, sign, field.center() + QPointF(0, 0.5), field.height() - 9);
    p.setPen(QPen(kGoldDark, 0.8));
    p.setBrush(kGold);
    p.drawPath(glyph);
    return image;
}

// A message box button: the body behind it is white, so it is drawn on white and its corners blend in.
QImage dialogButton(const Fonts& fonts, const QString& word, bool highlighted)
{
    QImage image = blankImage(kButtonSize, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF whole(0, 0, kButtonSize.width(), kButtonSize.height());
    QPainterPath shape;
    shape.addRoundedRect(whole, 7, 7);

    QLinearGradient fill(0, 0, 0, whole.height());
    fill.setColorAt(0.0, QColor(255, 243, 176));
    fill.setColorAt(0.5, QColor(252, 222, 110));
    fill.setColorAt(1.0, QColor(242, 196, 56));
    p.fillPath(shape, fill);

    QPainterPath sheen;
    sheen.addRoundedRect(QRectF(2, 1.5, whole.width() - 4, 9), 5, 4);
    QLinearGradient sheenFill(0, 1.5, 0, 10.5);
    sheenFill.setColorAt(0.0, QColor(255, 255, 255, 150));
    sheenFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(sheen, sheenFill);

    p.setPen(QPen(kButtonLine, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(whole.adjusted(0.5, 0.5, -0.5, -0.5), 6.5, 6.5);

    if (highlighted) {
        // The highlight marks the button Enter would press: a red line over the bottom rows, following the corners.
        QPainterPath band;
        band.addRect(QRectF(0, whole.height() - 3, whole.width(), 3));
        p.fillPath(shape.intersected(band), kHighlightRed);
    }

    const QFont font = makeFont(fonts.bold, 12, true);
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(word);
    const qreal left = std::round((whole.width() - advance) / 2);
    const qreal baseline = 17;
    p.setFont(font);
    p.setPen(kButtonText);
    p.drawText(QPointF(left, baseline), word);

    // The first letter is underlined because it is the keyboard shortcut of the button.
    const QRectF letter = metrics.tightBoundingRect(word.left(1));
    const qreal underlineLeft = std::floor(left + letter.left());
    const qreal underlineRight = std::ceil(left + letter.right());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(underlineLeft, baseline + 2, underlineRight - underlineLeft, 1), kButtonText);
    return image;
}

// The loudspeaker on the main window's flat buttons: a bar and two sound arcs on the button face colour.
QImage loudspeaker()
{
    QImage image = blankImage({30, 30}, QColor(212, 208, 200));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(64, 64, 64);

    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(7, 9, 4, 12), 1, 1);

    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF centre(9.5, 15);
    for (const qreal radius : {6.5, 11.5}) {
        const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        p.drawArc(circle, -50 * 16, 100 * 16);
    }
    return image;
}

// The set pickers' drop-down arrow for the skin: a small warm-brown triangle on transparency.
QImage pickerArrow()
{
    QImage image = blankImage({9, 6}, Qt::transparent, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 74, 34));
    p.drawPolygon(QPolygonF({QPointF(0.5, 0.5), QPointF(8.5, 0.5), QPointF(4.5, 5.5)}));
    return image;
}

// The application icon in a 256-unit space; smaller sizes scale the painter so edges stay sharp.
void paintAppIcon(QPainter& p, const Fonts& fonts)
{
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF tile(10, 10, 236, 236);
    QLinearGradient tileFill(0, tile.top(), 0, tile.bottom());
    tileFill.setColorAt(0.0, QColor(255, 214, 102));
    tileFill.setColorAt(0.6, QColor(238, 168, 56));
    tileFill.setColorAt(1.0, QColor(206, 128, 40));
    p.setPen(QPen(QColor(140, 82, 24), 6));
    p.setBrush(tileFill);
    p.drawRoundedRect(tile, 48, 48);

    // A soft light from the top left keeps the tile from looking flat.
    QRadialGradient glow(QPointF(90, 60), 170);
    glow.setColorAt(0.0, QColor(255, 255, 255, 90));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(tile.adjusted(4, 4, -4, -4), 44, 44);

    const QColor ink(96, 52, 16);
    const QColor paper(255, 250, 236);

    // Open book: two pages bending down towards the spine.
    auto page = [&](qreal side) {
        QPainterPath path;
        const qreal spineX = 128;
        const qreal outerX = 128 + side * 94;
        path.moveTo(spineX, 150);
        path.cubicTo(spineX + side * 30, 128, outerX - side * 34, 126, outerX, 136);
        path.lineTo(outerX, 206);
        path.cubicTo(outerX - side * 34, 196, spineX + side * 30, 198, spineX, 218);
        path.closeSubpath();
        return path;
    };
    p.setPen(QPen(ink, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(paper);
    p.drawPath(page(-1));
    p.drawPath(page(1));

    // Text lines on the pages: the left page stands for the English word, the right one for its Polish meaning.
    p.setPen(QPen(QColor(214, 170, 112), 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 3; ++row) {
        const qreal y = 158 + row * 16;
        for (const qreal side : {-1.0, 1.0}) {
            QPainterPath line;
            const qreal inner = 128 + side * 18;
            const qreal outer = 128 + side * (row == 2 ? 58 : 76);
            line.moveTo(inner, y + 6);
            line.quadTo((inner + outer) / 2, y - 6, outer, y - 2);
            p.drawPath(line);
        }
    }

    // The V of the name rises out of the book, its point resting on the spine.
    const QFont font = makeFont(fonts.bold, 200, true);
    const QPainterPath letter = centredGlyph(font, QStringLiteral("V"), QPointF(128, 86), 104);
    p.setPen(QPen(paper, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(letter);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(168, 44, 28));
    p.drawPath(letter);
}

QImage appIcon(const Fonts& fonts, int size)
{
    QImage image = blankImage({size, size}, Qt::transparent, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.scale(size / 256.0, size / 256.0);
    paintAppIcon(p, fonts);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char* argv[])
{
    // Nothing is shown on screen, so run without a display unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        err() << "usage: rysunki [-platform offscreen] OUTPUT_FOLDER" << Qt::endl;
        return 2;
    }
    QDir out(args.at(1));
    if (!out.mkpath(QStringLiteral("."))) {
        err() << "rysunki: cannot create " << args.at(1) << Qt::endl;
        return 1;
    }
    for (const char* format : {"jpg", "png"}) {
        if (!QImageWriter::supportedImageFormats().contains(format)) {
            err() << "rysunki: this Qt cannot write " << format << Qt::endl;
            return 1;
        }
    }

    const Fonts fonts{loadFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")),
                      loadFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"))};

    const QImage background = dialogBackground();
    save(background, out, QStringLiteral("oknowarning.jpg"), kJpegQuality);
    save(dialogIcon(background, fonts, QStringLiteral("i")), out, QStringLiteral("ikoinfo.jpg"), kJpegQuality);
    save(dialogIcon(background, fonts, QStringLiteral("?")), out, QStringLiteral("ikopytanie.jpg"), kJpegQuality);
    save(dialogIcon(background, fonts, QStringLiteral("!")), out, QStringLiteral("ikouwaga.jpg"), kJpegQuality);

    // Polish buttons are shown; the English ones are shipped alongside for an English interface.
    const std::pair<const char*, const char*> buttons[] = {
        {"tak", "TAK"}, {"nie", "NIE"}, {"anuluj", "ANULUJ"}, {"zamknij", "ZAMKNIJ"},
        {"yes", "YES"}, {"no", "NO"},   {"cancel", "CANCEL"}, {"close", "CLOSE"},
    };
    for (const auto& [name, word] : buttons) {
        const QString base = QStringLiteral("but") + QLatin1String(name);
        const QString text = QLatin1String(word);
        save(dialogButton(fonts, text, false), out, base + QStringLiteral(".jpg"), kJpegQuality);
        save(dialogButton(fonts, text, true), out, base + QStringLiteral("akt.jpg"), kJpegQuality);
    }

    save(loudspeaker(), out, QStringLiteral("glosnik.png"));
    save(pickerArrow(), out, QStringLiteral("strzalka.png"));
    save(appIcon(fonts, 256), out, QStringLiteral("vokara.png"));
    save(appIcon(fonts, 48), out, QStringLiteral("vokara-48.png"));
    return 0;
}
