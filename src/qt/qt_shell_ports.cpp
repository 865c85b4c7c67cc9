#include "qt/qt_shell_ports.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QIconEngine>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <map>

#include "app/main_window.h"
#include "qt/qt_picture.h"
#include "system/linux/standard_error.h"

namespace quorvel {

namespace {

constexpr const char* kIconName = "quorvel";
// The menu entry's name, without ".desktop".
constexpr const char* kDesktopEntry = "io.github.quorvel.Quorvel";
// A notification that could not be delivered in this time is given up.
constexpr int kNotifyTimeoutMs = 1000;

// The icon built into the program: a picture of each size, each decoded only
// when a picture of about its size is first asked for (a window that is never
// shown needs none of them).
class BuiltInIconEngine final : public QIconEngine {
public:
    BuiltInIconEngine() {
        static const QString kFolder = QStringLiteral(":/quorvel/icons");
        // Folders named "48x48" and so on, each with apps/quorvel.png.
        for (const QString& name : QDir(kFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool number = false;
            const int side = name.section(u'x', 0, 0).toInt(&number);
            const QString file = kFolder + u'/' + name + QStringLiteral("/apps/") + kIconName + QStringLiteral(".png");
            if (number && side > 0 && QFile::exists(file)) {
                sides_.emplace(side, Side{file, {}});
            }
        }
    }

    QIconEngine* clone() const override { return new BuiltInIconEngine(*this); }
    QString key() const override { return QStringLiteral("quorvel-built-in"); }
    bool isNull() override { return sides_.empty(); }

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        QList<QSize> sizes;
        for (const auto& [side, picture] : sides_) {
            sizes.append(QSize(side, side));
        }
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        // Square pictures, never scaled up beyond the largest.
        const int largest = sides_.empty() ? 0 : sides_.rbegin()->first;
        const int side = std::min({size.width(), size.height(), largest});
        return {side, side};
    }

    // `size` in the screen's pixels, as Qt asks.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize pixels = actualSize(size, mode, state);
        if (pixels.isEmpty()) {
            return {};
        }
        // The smallest picture at least as large as asked for, else the largest.
        auto side = sides_.lower_bound(pixels.width());
        if (side == sides_.end()) {
            side = std::prev(sides_.end());
        }
        Side& chosen = side->second;
        if (chosen.icon.isNull()) {
            chosen.icon.addPixmap(QPixmap(chosen.file, "png"));
        }
        // The picture's own icon makes the disabled and selected looks.
        return chosen.icon.pixmap(pixels, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap picture = pixmap(size, mode, state);
        picture.setDevicePixelRatio(scale);
        return picture;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
        const QPixmap picture = scaledPixmap((QSizeF(rect.size()) * scale).toSize(), mode, state, scale);
        const QSize drawn = picture.deviceIndependentSize().toSize();
        painter->drawPixmap(QRect(rect.center() - QPoint(drawn.width() / 2, drawn.height() / 2), drawn), picture);
    }

private:
    struct Side {
        QString file;
        QIcon icon; // null until first asked for
    };
    std::map<int, Side> sides_;
};

void PrintMessage(std::string_view text, std::string_view title) {
    PrintErrorLine(std::string(title) + ": " + std::string(text));
}

} // namespace

void QtMessages::showMessage(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok);
    box.exec();
}

void ConsoleMessages::showMessage(std::string_view text, std::string_view title) {
    PrintMessage(text, title);
}

QtTray::QtTray(Handlers handlers) : handlers_(std::move(handlers)) {
}

QtTray::~QtTray() {
    delete icon_.data();
}

bool QtTray::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QIcon QtTray::ApplicationIcon() {
    // The icon theme's, as installed; the copy built into the program otherwise.
    QIcon installed = QIcon::fromTheme(kIconName);
    if (!installed.isNull() && !installed.availableSizes().isEmpty()) {
        return installed;
    }
    return QIcon(new BuiltInIconEngine);
}

void QtTray::addIcon(std::string_view tip, const std::vector<TrayMenuItem>& menu) {
    if (icon_ != nullptr || !available()) {
        return;
    }
    areaWatch_.stop();
    // The menu belongs to the icon: the desktop opens it on a right click,
    // outside the program's own handling of the click.
    menu_ = std::make_unique<QMenu>();
    items_.clear();
    for (const TrayMenuItem& item : menu) {
        QAction* action = menu_->addAction(FromUtf8(item.text));
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        items_[item.id] = action;
        QObject::connect(action, &QAction::triggered, this, [this, id = item.id] { handlers_.menu(id); });
    }
    // Whatever opens the menu (a right click here, or the desktop's own
    // handling of it), its check items show what is true when it opens.
    QObject::connect(menu_.get(), &QMenu::aboutToShow, this,
                     [this] { handlers_.action(static_cast<int>(TrayAction::RightUp)); });
    icon_ = new QSystemTrayIcon(ApplicationIcon());
    icon_->setToolTip(FromUtf8(tip));
    icon_->setContextMenu(menu_.get());
    QObject::connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        switch (why) {
        case QSystemTrayIcon::Trigger:
            handlers_.action(static_cast<int>(TrayAction::LeftUp));
            break;
        case QSystemTrayIcon::DoubleClick:
            handlers_.action(static_cast<int>(TrayAction::DoubleClick));
            break;
        case QSystemTrayIcon::Context:
            handlers_.action(static_cast<int>(TrayAction::RightUp));
            break;
        default:
            break;
        }
    });
    icon_->show();
}

void QtTray::setMenuItemChecked(int id, bool checked) {
    // A check action ticks itself when clicked; the controller's word counts.
    if (const auto item = items_.find(id); item != items_.end()) {
        item->second->setChecked(checked);
    }
}

void QtTray::removeIcon() {
    if (icon_ != nullptr) {
        icon_->hide();
        // The icon may be the sender of the signal being handled: it goes
        // once the handling is over, never under its own feet.
        icon_->deleteLater();
        icon_ = nullptr;
    }
}

void QtTray::watchForArea(std::function<void()> appeared, int periodMs) {
    areaWatch_.disconnect();
    QObject::connect(&areaWatch_, &QTimer::timeout, this, [this, appeared = std::move(appeared)] {
        if (available()) {
            areaWatch_.stop();
            appeared();
        }
    });
    areaWatch_.start(periodMs);
}

bool QtTray::Notify(const QString& text, const QString& title, int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    // A plain call: an interface object would first ask the service to
    // describe itself, one more round trip while the program starts.
    QDBusMessage notify =
        QDBusMessage::createMethodCall("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                       "org.freedesktop.Notifications", "Notify");
    QVariantMap hints;
    const QString desktopEntry = QGuiApplication::desktopFileName();
    hints.insert("desktop-entry", desktopEntry.isEmpty() ? QString(kDesktopEntry) : desktopEntry);
    notify << QCoreApplication::applicationName() << lastNotification_ << QString(kIconName) << title << text
           << QStringList() << hints << timeoutMs;
    const QDBusReply<uint> reply = bus.call(notify, QDBus::Block, kNotifyTimeoutMs);
    if (!reply.isValid()) {
        return false;
    }
    lastNotification_ = reply.value();
    return true;
}

void QtTray::showBalloon(std::string_view text, std::string_view title, int timeoutMs) {
    if (Notify(FromUtf8(text), FromUtf8(title), timeoutMs)) {
        return;
    }
    if (icon_ != nullptr) {
        icon_->showMessage(FromUtf8(title), FromUtf8(text), QSystemTrayIcon::Information, timeoutMs);
        return;
    }
    // Nothing on the desktop takes messages: the window's title while it is
    // shown, and the terminal or the session's log.
    if (window_ != nullptr && window_->isVisible()) {
        window_->setWindowTitle(FromUtf8(kApplicationTitle) + " - " + FromUtf8(text));
    }
    PrintMessage(text, title);
}

void QtApplication::quit() {
    if (stopEvents_) {
        stopEvents_();
    }
    QCoreApplication::exit(0);
}

} // namespace quorvel
