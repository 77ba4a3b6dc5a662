#include "DemoShopProcess.h"

#include <QRegularExpression>

DemoShopProcess::~DemoShopProcess()
{
    stop();
}

bool DemoShopProcess::start(const QStringList& arguments)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral(DEMO_SHOP_PROGRAM),
                    QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
    if (!m_process.waitForStarted(10000))
        return false;
    const QRegularExpression listening(
        QStringLiteral("listening on (http://127\\.0\\.0\\.1:\\d+)"));
    QByteArray output;
    while (m_process.waitForReadyRead(60000)) {
        output += m_process.readAll();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_url = match.captured(1);
            return true;
        }
    }
    return false;
}

void DemoShopProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(10000);
}
