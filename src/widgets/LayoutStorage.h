#pragma once

#include <QString>

class QWidget;

// "FormDesign.ini": what the person shaped in a window, kept from run to run. A window's
// kept parts are found by their object names: its own geometry (top-level windows), every
// named DataGrid (column order, visibility, widths), every named splitter, and every named
// check box marked with the property "layoutKept". Errors are not reported: a layout that
// cannot be read or written leaves the window as designed.
class LayoutStorage {
public:
    explicit LayoutStorage(const QString& iniPath);

    QString path() const { return m_path; }
    // Returns whether the window's own geometry was restored.
    bool load(QWidget* window) const;
    void save(QWidget* window) const;

private:
    QString m_path;
};
