#include "TFAbout.h"

#include "ProgramInfo.h"
#include "TraderIcons.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

TFAbout::TFAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
    , m_picture(new QLabel(this))
{
    setObjectName(QStringLiteral("TFAbout"));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setObjectName(QStringLiteral("AboutFrame"));
    frame->setStyleSheet(
        QStringLiteral("#AboutFrame { border: 1px solid #1f6fb5; background: white; }"));

    m_picture->setPixmap(TraderIcons::emblem(96));
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->installEventFilter(this);

    auto* title = new QLabel(ProgramInfo::ProgramName(), frame);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Версия программы:"), frame), 0, 0);
    auto* version = new QLabel(ProgramInfo::ProgramVersion(), frame);
    version->setObjectName(QStringLiteral("LVersion"));
    values->addWidget(version, 0, 1);
    values->addWidget(new QLabel(QStringLiteral("Сборка №:"), frame), 1, 0);
    auto* build = new QLabel(ProgramInfo::ProgramBuild(), frame);
    build->setObjectName(QStringLiteral("LBuild"));
    values->addWidget(build, 1, 1);
    values->setColumnStretch(1, 1);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addLayout(values);
    text->addStretch();

    auto* inner = new QHBoxLayout(frame);
    inner->setContentsMargins(24, 24, 32, 24);
    inner->setSpacing(24);
    inner->addWidget(m_picture, 0, Qt::AlignTop);
    inner->addLayout(text);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
}

void TFAbout::centreOnOwner()
{
    adjustSize();
    if (QWidget* owner = parentWidget())
        move(owner->geometry().center() - rect().center());
}

bool TFAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_picture && event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}
