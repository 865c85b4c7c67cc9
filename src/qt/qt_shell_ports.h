#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "ports/message_port.h"
#include "ports/ui_port.h"

class QWidget;

namespace quorvel {

// Message boxes with one OK button.
class QtMessages final : public MessagePort {
public:
    void showMessage(std::string_view text, std::string_view title) override;
};

// Messages on standard error, for runs that no one answers (a screenshot).
class ConsoleMessages final : public MessagePort {
public:
    void showMessage(std::string_view text, std::string_view title) override;
};

// The tray icon with its menu, and the program's messages: desktop
// notifications where the session has a notification service, else the tray
// icon's balloon, else the window's title and standard error.
class QtTray final : public QObject, public TrayPort {
    Q_OBJECT

public:
    struct Handlers {
        std::function<void(int action)> action; // the icon's clicks (TrayAction)
        std::function<void(int id)> menu;       // the menu's item chosen
    };
    explicit QtTray(Handlers handlers);
    ~QtTray() override;

    bool available() const override;
    void addIcon(std::string_view tip, const std::vector<TrayMenuItem>& menu) override;
    void setMenuItemChecked(int id, bool checked) override;
    void removeIcon() override;
    void showBalloon(std::string_view text, std::string_view title, int timeoutMs) override;

    // Looks for a notification area every `periodMs` until one is there, then
    // calls `appeared` once.
    void watchForArea(std::function<void()> appeared, int periodMs = 1000);
    // The window whose title carries messages when nothing else can.
    void setMessageWindow(QWidget* window) { window_ = window; }
    bool hasIcon() const { return icon_ != nullptr; }
    QSystemTrayIcon* icon() const { return icon_; }

    // The program's icon: the installed theme icon, else the one built in.
    static QIcon ApplicationIcon();

private:
    bool Notify(const QString& text, const QString& title, int timeoutMs);

    Handlers handlers_;
    QPointer<QSystemTrayIcon> icon_;
    std::unique_ptr<QMenu> menu_;
    std::map<int, QAction*> items_; // the menu's actions by item id
    QTimer areaWatch_;
    QWidget* window_ = nullptr;
    uint lastNotification_ = 0; // replaced by the next one
};

// Ends the program: stops taking device events, then leaves the event loop.
class QtApplication final : public ApplicationPort {
public:
    explicit QtApplication(std::function<void()> stopEvents) : stopEvents_(std::move(stopEvents)) {}
    void quit() override;

private:
    std::function<void()> stopEvents_;
};

} // namespace quorvel
