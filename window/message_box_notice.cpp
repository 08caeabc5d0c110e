#include "window/connect_failure_notice.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace zav {

namespace {

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
