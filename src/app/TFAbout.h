#pragma once

#include <QDialog>

class QLabel;

// The About window: borderless, centred on its owner; a click on the picture, Enter or Esc
// closes it. At start it also serves as the splash.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* owner);

    // Centres the window on its owner; call before showing it.
    void centreOnOwner();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_picture;
};
