#pragma once

#include "DeskOperations.h"
#include "OrderDeskData.h"

#include <QHash>
#include <QSet>
#include <QWidget>

class DataGrid;
class Prompter;
class QAction;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTabBar;
class QToolButton;
class TDMMain;
class TFFormDesign;

// The order desk in the middle of the main window: the four order lists by tab, and under
// the list the goods lines, the buyer's registration fields and the notes of the current
// order. It enables the window's order commands by the desk's rules; a command that is not
// built yet stays disabled whatever the rules say.
class OrderDesk : public QWidget, public DeskOperations {
    Q_OBJECT
public:
    // The commands are the window's actions, found by their object names.
    OrderDesk(const TDMMain& dm, Prompter& prompter, const QList<QAction*>& commands,
              const QSet<QString>& builtCommands, TFFormDesign& designer, QWidget* parent);

    void TCOrdersChange() override;
    void AOrdersRefresh() override;
    void ARefreshButton() override;
    void AButtonDisable() override;
    void AButtonEnabel() override;
    void ACurrUpdate() override;
    QString BaseCurrencyName() const override { return m_baseCurrency; }

    // Opens the lists on the first tab, as the start sequence does.
    void openLists();
    void closeLists();
    int currentTab() const;
    void setCurrentTab(int tab);

    // The marked orders' ids; when none is marked, the current order is marked first.
    QStringList takeSelection();
    QVariant currentOrderValue(const QString& field) const;
    // Loads the details for the current order and recomputes the commands, whatever the
    // grid's navigation left behind.
    void reattach() { attach(); }
    QToolButton* insideNoteButton() const { return BInsideNoteSave; }

    DataGrid* DBOrders() const { return m_orders; }
    DataGrid* DBGoods() const { return m_goods; }
    DataGrid* DBClient() const { return m_client; }
    QAction* AFormDesignOrder() const { return m_designOrder; }
    QAction* AFormDesignGoods() const { return m_designGoods; }

signals:
    // The goods and registration fields were read for the current order.
    void detailsLoaded();

private:
    QWidget* buildNotePanel(const QString& caption, QPlainTextEdit* note, QToolButton* button);
    QAction* command(const QString& name) const;
    void setCommand(const QString& name, bool enabled);
    void loadOrders();
    void loadDetails();
    void detach();
    void attach();
    void showNotes();

    OrderDeskData m_data;
    Prompter& m_prompter;
    QHash<QString, QAction*> m_commands;
    QSet<QString> m_built;
    TFFormDesign& m_designer;
    QTabBar* TCOrders;
    DataGrid* m_orders;
    DataGrid* m_goods;
    DataGrid* m_client;
    QPlainTextEdit* m_notice;
    QPlainTextEdit* m_insideNote;
    QToolButton* BInsideNoteSave;
    QAction* m_designOrder;
    QAction* m_designGoods;
    QHash<QString, QString> m_titleHints; // the design's title of each money column
    QString m_baseCurrency;
    bool m_open = false;
    bool m_detached = false;
    bool m_refilling = false;
    bool m_notesBuilt = false;
};
