#include "TRusClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace TRusClipboard {

void setText(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
#ifdef Q_OS_WIN
    // CF_LOCALE with the Russian locale id 1049.
    const quint32 russian = 1049;
    data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"Locale\""),
                  QByteArray(reinterpret_cast<const char*>(&russian), sizeof russian));
#endif
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace TRusClipboard
