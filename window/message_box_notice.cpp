#include "connect_failure_notice.h"

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
