#include "LayoutStorage.h"

#include "DataGrid.h"

#include <QCheckBox>
#include <QSettings>
#include <QSplitter>

namespace {

template <typename T> QList<T*> namedParts(QWidget* window)
{
    QList<T*> parts;
    for (T* part : window->findChildren<T*>())
        if (!part->objectName().isEmpty())
            parts << part;
    return parts;
}

bool kept(const QCheckBox* box)
{
    return box->property("layoutKept").toBool();
}

} // namespace

LayoutStorage::LayoutStorage(const QString& iniPath)
    : m_path(iniPath)
{
}

bool LayoutStorage::load(QWidget* window) const
{
    QSettings ini(m_path, QSettings::IniFormat);
    ini.beginGroup(window->objectName());
    const bool placed =
        window->isWindow() &&
        window->restoreGeometry(ini.value(QStringLiteral("geometry")).toByteArray());
    for (DataGrid* grid : namedParts<DataGrid>(window))
        grid->restoreLayout(ini.value(grid->objectName()).toByteArray());
    for (QSplitter* splitter : namedParts<QSplitter>(window))
        if (ini.contains(splitter->objectName()))
            splitter->restoreState(ini.value(splitter->objectName()).toByteArray());
    for (QCheckBox* box : namedParts<QCheckBox>(window))
        if (kept(box) && ini.contains(box->objectName()))
            box->setChecked(ini.value(box->objectName()).toBool());
    return placed;
}

void LayoutStorage::save(QWidget* window) const
{
    QSettings ini(m_path, QSettings::IniFormat);
    ini.beginGroup(window->objectName());
    if (window->isWindow())
        ini.setValue(QStringLiteral("geometry"), window->saveGeometry());
    for (DataGrid* grid : namedParts<DataGrid>(window))
        ini.setValue(grid->objectName(), grid->saveLayout());
    for (QSplitter* splitter : namedParts<QSplitter>(window))
        ini.setValue(splitter->objectName(), splitter->saveState());
    for (QCheckBox* box : namedParts<QCheckBox>(window))
        if (kept(box))
            ini.setValue(box->objectName(), box->isChecked());
    ini.endGroup();
    ini.sync();
}
