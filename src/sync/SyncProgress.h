#pragma once

class RowProgress;

// How a long exchange shows that it works: the busy cursor, the window's overall progress
// bar and its row-level bar. The headless program shows nothing.
class SyncProgress {
public:
    virtual ~SyncProgress() = default;
    virtual void setBusy(bool busy) = 0;
    virtual void showOverall(int maximum, int position) = 0;
    virtual void advanceOverall(int by) = 0;
    virtual void hideOverall() = 0;
    virtual RowProgress* rows() = 0; // may be null
};

class NoProgress : public SyncProgress {
public:
    void setBusy(bool) override {}
    void showOverall(int, int) override {}
    void advanceOverall(int) override {}
    void hideOverall() override {}
    RowProgress* rows() override { return nullptr; }
};
