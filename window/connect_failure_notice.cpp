#include "window/connect_failure_notice.h"

#include "window/held_key.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMessageBox>

namespace zav {

namespace {

// Drops the presses a held key repeats. Return held on Connect would otherwise close the box at
// once and click Connect again, round and round while the open fails.
class HeldKeyFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyRelease)
            m_heldKey.released(static_cast<const QKeyEvent &>(*event));
        return event->type() == QEvent::KeyPress &&
                m_heldKey.repeats(static_cast<const QKeyEvent &>(*event));
    }

private:
    HeldKey m_heldKey;
};

class MessageBoxNotice final : public ConnectFailureNotice
{
public:
    void announce(QWidget *owner) override
    {
        QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle),
                        QString::fromLatin1(kUnableToConnect), QMessageBox::Ok, owner);
        box.setObjectName(QStringLiteral("connectFailureBox"));
        box.setDefaultButton(QMessageBox::Ok);
        // Some styles decorate dialog buttons with icons; the box carries none.
        box.button(QMessageBox::Ok)->setIcon(QIcon());
        HeldKeyFilter heldKeys;
        box.installEventFilter(&heldKeys);
        box.button(QMessageBox::Ok)->installEventFilter(&heldKeys);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }
};

} // namespace

std::unique_ptr<ConnectFailureNotice> makeMessageBoxNotice()
{
    return std::make_unique<MessageBoxNotice>();
}

} // namespace zav
