#include "MainProgress.h"

#include <QApplication>
#include <QProgressBar>

MainProgress::MainProgress(QProgressBar* overall, QProgressBar* rowsBar)
    : m_overall(overall)
    , m_rows(rowsBar)
{
}

MainProgress::~MainProgress()
{
    while (m_busy-- > 0)
        QApplication::restoreOverrideCursor();
}

void MainProgress::setBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busy;
    } else if (m_busy > 0) {
        QApplication::restoreOverrideCursor();
        --m_busy;
    }
}

void MainProgress::showOverall(int maximum, int position)
{
    m_overall->setRange(0, qMax(1, maximum));
    m_overall->setValue(qMin(position, m_overall->maximum()));
    m_overall->show();
}

void MainProgress::advanceOverall(int by)
{
    m_overall->setValue(qMin(m_overall->value() + by, m_overall->maximum()));
}

void MainProgress::hideOverall()
{
    m_overall->hide();
}

void MainProgress::begin(int maximum)
{
    m_rows->setRange(0, qMax(1, maximum));
    m_rows->setValue(0);
    m_rows->show();
}

void MainProgress::step(int position)
{
    m_rows->setValue(qMin(position, m_rows->maximum()));
    // Keeps the window painting while a long page is stored.
    if (position % 500 == 0)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainProgress::end()
{
    m_rows->hide();
}
