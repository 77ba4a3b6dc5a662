#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The demonstration shop as a child process on 127.0.0.1, for whole flows.
class DemoShopProcess {
public:
    ~DemoShopProcess();
    // Starts the shop with these arguments (a free port is added); false when it did not
    // report that it listens.
    bool start(const QStringList& arguments);
    void stop();
    QString url() const { return m_url; }

private:
    QProcess m_process;
    QString m_url;
};
