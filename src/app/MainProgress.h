#pragma once

#include "RowProgress.h"
#include "SyncProgress.h"

class QProgressBar;

// The main window's progress: the busy cursor, the overall bar "ProgressBar" and the row
// bar "PBSimple" at the bottom of the window.
class MainProgress : public SyncProgress, private RowProgress {
public:
    MainProgress(QProgressBar* overall, QProgressBar* rowsBar);
    ~MainProgress() override;

    void setBusy(bool busy) override;
    void showOverall(int maximum, int position) override;
    void advanceOverall(int by) override;
    void hideOverall() override;
    RowProgress* rows() override { return this; }

private:
    void begin(int maximum) override;
    void step(int position) override;
    void end() override;

    QProgressBar* m_overall;
    QProgressBar* m_rows;
    int m_busy = 0;
};
