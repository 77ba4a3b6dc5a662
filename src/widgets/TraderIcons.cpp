#include "TraderIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace {

struct Picture {
    QString glyph;
    QColor color;
};

const QHash<QString, Picture>& pictures()
{
    static const QHash<QString, Picture> all = {
        {QStringLiteral("ARefreshData"), {QStringLiteral("↓"), QColor(0x1f, 0x6f, 0xb5)}},
        {QStringLiteral("AArchiveUpdate"), {QStringLiteral("↑"), QColor(0x2e, 0x8b, 0x57)}},
        {QStringLiteral("AConnectParam"), {QStringLiteral("⚙"), QColor(0x60, 0x6a, 0x78)}},
        {QStringLiteral("ALogView"), {QStringLiteral("☰"), QColor(0x60, 0x6a, 0x78)}},
        {QStringLiteral("ANewOrder"), {QStringLiteral("+"), QColor(0x2e, 0x8b, 0x57)}},
        {QStringLiteral("ACopyOrder"), {QStringLiteral("✎"), QColor(0xc7, 0x7c, 0x02)}},
        {QStringLiteral("ANewCopyOrder"), {QStringLiteral("❐"), QColor(0xc7, 0x7c, 0x02)}},
        {QStringLiteral("ASetStatusDel"), {QStringLiteral("✖"), QColor(0xc0, 0x39, 0x2b)}},
        {QStringLiteral("ASetStatusAccept"), {QStringLiteral("✓"), QColor(0x1f, 0x6f, 0xb5)}},
        {QStringLiteral("ASetStatusDelivery"), {QStringLiteral("➜"), QColor(0x8e, 0x44, 0xad)}},
        {QStringLiteral("ASetStatusExecuted"), {QStringLiteral("✔"), QColor(0x2e, 0x8b, 0x57)}},
        {QStringLiteral("ASetStatusNil"), {QStringLiteral("⊘"), QColor(0x7f, 0x8c, 0x8d)}},
        {QStringLiteral("ASetPaymentAccept"), {QStringLiteral("₽"), QColor(0x2e, 0x8b, 0x57)}},
        {QStringLiteral("ASetPaymentNil"), {QStringLiteral("₽"), QColor(0xc0, 0x39, 0x2b)}},
        {QStringLiteral("AResetStatus"), {QStringLiteral("↺"), QColor(0x60, 0x6a, 0x78)}},
        {QStringLiteral("AResetStatusAll"), {QStringLiteral("↺"), QColor(0x34, 0x49, 0x5e)}},
        {QStringLiteral("AOrderSearch"), {QStringLiteral("⌕"), QColor(0x1f, 0x6f, 0xb5)}},
        {QStringLiteral("AClientCat"), {QStringLiteral("☺"), QColor(0x8e, 0x44, 0xad)}},
        {QStringLiteral("AGoodsSelect"), {QStringLiteral("▦"), QColor(0xc7, 0x7c, 0x02)}},
        {QStringLiteral("AReportOrderSys"), {QStringLiteral("≣"), QColor(0x34, 0x49, 0x5e)}},
        {QStringLiteral("AEditReportSys"), {QStringLiteral("✎"), QColor(0x34, 0x49, 0x5e)}},
        {QStringLiteral("AReportSelectOrders"), {QStringLiteral("∑"), QColor(0x34, 0x49, 0x5e)}},
        {QStringLiteral("AOrderDublicate"), {QStringLiteral("⇉"), QColor(0x16, 0xa0, 0x85)}},
        {QStringLiteral("AInvoiceOrder"), {QStringLiteral("₽"), QColor(0x16, 0xa0, 0x85)}},
        {QStringLiteral("AExportXML"), {QStringLiteral("⇲"), QColor(0x16, 0xa0, 0x85)}},
        {QStringLiteral("AHelp"), {QStringLiteral("?"), QColor(0x1f, 0x6f, 0xb5)}},
        {QStringLiteral("AAbout"), {QStringLiteral("i"), QColor(0x1f, 0x6f, 0xb5)}},
    };
    return all;
}

QPixmap draw(const Picture& picture, int size, bool disabled)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor fill = disabled ? QColor(0xc8, 0xcc, 0xd0) : picture.color;
    QPainterPath frame;
    const qreal m = size * 0.06;
    frame.addRoundedRect(QRectF(m, m, size - 2 * m, size - 2 * m), size * 0.22, size * 0.22);
    p.fillPath(frame, fill);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(size * 0.66));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, picture.glyph);
    return pixmap;
}

QIcon iconOf(const Picture& picture)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        icon.addPixmap(draw(picture, size, false), QIcon::Normal);
        icon.addPixmap(draw(picture, size, true), QIcon::Disabled);
    }
    return icon;
}

// An indicator lamp: a round light with the arrow of its direction, grey while idle.
QPixmap drawLamp(int size, bool up, const QColor& lit, bool on)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(size * 0.08, size * 0.08, size * 0.84, size * 0.84);
    QRadialGradient glow(disc.center() - QPointF(size * 0.12, size * 0.12), size * 0.6);
    const QColor base = on ? lit : QColor(0xb0, 0xb6, 0xbc);
    glow.setColorAt(0, base.lighter(on ? 160 : 115));
    glow.setColorAt(1, base);
    p.setPen(QPen(base.darker(140), qMax(1.0, size / 16.0)));
    p.setBrush(glow);
    p.drawEllipse(disc);

    const qreal c = size / 2.0;
    const qreal h = size * 0.24; // half the arrow's height
    const qreal w = size * 0.2;  // half the head's width
    const qreal dir = up ? -1 : 1;
    QPainterPath arrow;
    arrow.moveTo(c, c + dir * h);
    arrow.lineTo(c - w, c + dir * (h - w));
    arrow.lineTo(c - w * 0.4, c + dir * (h - w));
    arrow.lineTo(c - w * 0.4, c - dir * h);
    arrow.lineTo(c + w * 0.4, c - dir * h);
    arrow.lineTo(c + w * 0.4, c + dir * (h - w));
    arrow.lineTo(c + w, c + dir * (h - w));
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(on ? QColor(Qt::white) : QColor(0x60, 0x6a, 0x78));
    p.drawPath(arrow);
    return pixmap;
}

// The server button: two opposite arrows while idle, an hourglass while an exchange runs.
QPixmap drawServer(int size, bool busy)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    const qreal m = size * 0.06;
    frame.addRoundedRect(QRectF(m, m, size - 2 * m, size - 2 * m), size * 0.22, size * 0.22);
    p.fillPath(frame, busy ? QColor(0xd9, 0x8c, 0x00) : QColor(0x1f, 0x6f, 0xb5));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const qreal s = size;
    if (busy) {
        QPainterPath glass;
        glass.moveTo(s * 0.28, s * 0.2);
        glass.lineTo(s * 0.72, s * 0.2);
        glass.lineTo(s * 0.54, s * 0.5);
        glass.lineTo(s * 0.72, s * 0.8);
        glass.lineTo(s * 0.28, s * 0.8);
        glass.lineTo(s * 0.46, s * 0.5);
        glass.closeSubpath();
        p.drawPath(glass);
        // The sand: what is left above, what has run through below.
        p.setBrush(QColor(0xd9, 0x8c, 0x00));
        QPainterPath sand;
        sand.moveTo(s * 0.38, s * 0.3);
        sand.lineTo(s * 0.62, s * 0.3);
        sand.lineTo(s * 0.5, s * 0.46);
        sand.closeSubpath();
        sand.moveTo(s * 0.5, s * 0.6);
        sand.lineTo(s * 0.64, s * 0.74);
        sand.lineTo(s * 0.36, s * 0.74);
        sand.closeSubpath();
        p.drawPath(sand);
        return pixmap;
    }
    const auto arrow = [&](qreal x, bool up) {
        const qreal top = s * 0.2;
        const qreal bottom = s * 0.8;
        const qreal head = s * 0.17;
        QPainterPath a;
        const qreal tip = up ? top : bottom;
        const qreal back = up ? top + head : bottom - head;
        const qreal tail = up ? bottom : top;
        a.moveTo(x, tip);
        a.lineTo(x - head * 0.9, back);
        a.lineTo(x - head * 0.3, back);
        a.lineTo(x - head * 0.3, tail);
        a.lineTo(x + head * 0.3, tail);
        a.lineTo(x + head * 0.3, back);
        a.lineTo(x + head * 0.9, back);
        a.closeSubpath();
        p.drawPath(a);
    };
    arrow(s * 0.34, true);
    arrow(s * 0.66, false);
    return pixmap;
}

QIcon iconDrawnBy(const std::function<QPixmap(int)>& paint)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(paint(size));
    return icon;
}

} // namespace

namespace TraderIcons {

QIcon indicator(Indicator picture)
{
    const QColor receive(0x2e, 0x8b, 0x57);
    const QColor send(0xd3, 0x54, 0x00);
    switch (picture) {
    case Indicator::ReceiveIdle: {
        static const QIcon icon =
            iconDrawnBy([&](int s) { return drawLamp(s, false, receive, false); });
        return icon;
    }
    case Indicator::Receiving: {
        static const QIcon icon =
            iconDrawnBy([&](int s) { return drawLamp(s, false, receive, true); });
        return icon;
    }
    case Indicator::SendIdle: {
        static const QIcon icon =
            iconDrawnBy([&](int s) { return drawLamp(s, true, send, false); });
        return icon;
    }
    case Indicator::Sending: {
        static const QIcon icon = iconDrawnBy([&](int s) { return drawLamp(s, true, send, true); });
        return icon;
    }
    case Indicator::ServerIdle: {
        static const QIcon icon = iconDrawnBy([](int s) { return drawServer(s, false); });
        return icon;
    }
    case Indicator::ServerBusy: {
        static const QIcon icon = iconDrawnBy([](int s) { return drawServer(s, true); });
        return icon;
    }
    }
    return QIcon();
}

QIcon action(const QString& actionName)
{
    static QHash<QString, QIcon> cache;
    const auto found = cache.constFind(actionName);
    if (found != cache.constEnd())
        return *found;
    const auto picture = pictures().constFind(actionName);
    const QIcon icon = picture == pictures().constEnd() ? QIcon() : iconOf(*picture);
    cache.insert(actionName, icon);
    return icon;
}

QPixmap emblem(int size)
{
    return draw({QStringLiteral("D"), QColor(0x1f, 0x6f, 0xb5)}, size, false);
}

QList<QIcon> orderStatusPictures()
{
    static const QList<QIcon> all = {
        iconOf({QStringLiteral("•"), QColor(0xc7, 0x7c, 0x02)}),
        iconOf({QStringLiteral("✓"), QColor(0x1f, 0x6f, 0xb5)}),
        iconOf({QStringLiteral("➜"), QColor(0x8e, 0x44, 0xad)}),
        iconOf({QStringLiteral("✔"), QColor(0x2e, 0x8b, 0x57)}),
        iconOf({QStringLiteral("⊘"), QColor(0x7f, 0x8c, 0x8d)}),
        iconOf({QStringLiteral("✖"), QColor(0xc0, 0x39, 0x2b)}),
    };
    return all;
}

QList<QIcon> paymentPictures()
{
    static const QList<QIcon> all = {
        iconOf({QStringLiteral("₽"), QColor(0xb0, 0xb6, 0xbc)}),
        iconOf({QStringLiteral("₽"), QColor(0x2e, 0x8b, 0x57)}),
    };
    return all;
}

QIcon program()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(emblem(size));
    return icon;
}

} // namespace TraderIcons
