#include "qt/qt_shell_ports.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDirIterator>
#include <QMenu>
#include <QMessageBox>

#include "app/main_window.h"

namespace quorvel {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

} // namespace

void QtMessages::showMessage(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok);
    box.exec();
}

QtTray::QtTray(std::function<void(int)> onAction) : onAction_(std::move(onAction)) {}

QtTray::~QtTray() = default;

bool QtTray::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

QIcon QtTray::ApplicationIcon() {
    // The icon theme's, as installed; the copy built into the program otherwise.
    QIcon builtIn;
    QDirIterator sizes(":/quorvel/icons", {"quorvel.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext()) {
        builtIn.addFile(sizes.next());
    }
    return QIcon::fromTheme("quorvel", builtIn);
}

void QtTray::addIcon(std::string_view tip) {
    if (!available()) {
        return;
    }
    icon_ = std::make_unique<QSystemTrayIcon>(ApplicationIcon());
    icon_->setToolTip(FromUtf8(tip));
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        switch (why) {
        case QSystemTrayIcon::Trigger: onAction_(static_cast<int>(TrayAction::LeftUp)); break;
        case QSystemTrayIcon::DoubleClick: onAction_(static_cast<int>(TrayAction::DoubleClick)); break;
        case QSystemTrayIcon::Context: onAction_(static_cast<int>(TrayAction::RightUp)); break;
        default: break;
        }
    });
    icon_->show();
}

void QtTray::removeIcon() {
    if (icon_) {
        icon_->hide();
        icon_.reset();
    }
}

void QtTray::showBalloon(std::string_view text, std::string_view title, int timeoutMs) {
    if (icon_) {
        icon_->showMessage(FromUtf8(title), FromUtf8(text), QSystemTrayIcon::Information, timeoutMs);
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusInterface notifications("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                 "org.freedesktop.Notifications", bus);
    if (!notifications.isValid()) {
        return;
    }
    notifications.call(QDBus::NoBlock, "Notify", FromUtf8(kApplicationTitle), 0u, QString("input-mouse"),
                       FromUtf8(title), FromUtf8(text), QStringList(), QVariantMap(), timeoutMs);
}

std::optional<int> QtTray::popupMenu(const std::vector<std::string>& items) {
    QMenu menu;
    std::vector<QAction*> actions;
    for (const std::string& item : items) {
        actions.push_back(menu.addAction(QString::fromStdString(item)));
    }
    QAction* chosen = menu.exec(QCursor::pos());
    for (std::size_t i = 0; i < actions.size(); ++i) {
        if (actions[i] == chosen) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

void QtApplication::quit() {
    if (stopEvents_) {
        stopEvents_();
    }
    QCoreApplication::exit(0);
}

} // namespace quorvel
