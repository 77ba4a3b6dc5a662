#include "TraderIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

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

} // namespace

namespace TraderIcons {

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
