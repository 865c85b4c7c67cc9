#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "ports/message_port.h"
#include "ports/ui_port.h"

namespace quorvel {

// Message boxes with one OK button.
class QtMessages final : public MessagePort {
public:
    void showMessage(std::string_view text, std::string_view title) override;
};

// The tray icon with its balloons and menu. Where the desktop has no
// notification area, balloons go out as desktop notifications over D-Bus.
class QtTray final : public QObject, public TrayPort {
    Q_OBJECT

public:
    // `onAction` receives the tray icon's clicks (LeftUp, DoubleClick, RightUp).
    explicit QtTray(std::function<void(int action)> onAction);
    ~QtTray() override;

    bool available() const override;
    void addIcon(std::string_view tip) override;
    void removeIcon() override;
    void showBalloon(std::string_view text, std::string_view title, int timeoutMs) override;
    std::optional<int> popupMenu(const std::vector<std::string>& items) override;

    // The program's icon: the installed theme icon, else the one built in.
    static QIcon ApplicationIcon();

private:
    std::function<void(int)> onAction_;
    std::unique_ptr<QSystemTrayIcon> icon_;
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
