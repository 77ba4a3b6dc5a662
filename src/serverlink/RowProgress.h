#pragma once

// Where a long row import shows its progress: the window's progress bar, or nothing.
class RowProgress {
public:
    virtual ~RowProgress() = default;
    virtual void begin(int maximum) = 0;
    virtual void step(int position) = 0;
    virtual void end() = 0; // also after a refused row
};
