#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <fstream>

#include "qt/shell_support.h"

// These tests need a session bus of their own; CTest runs them under
// dbus-run-session, with and without the stand-in notification service
// (tests/desktop/notification_server.py). Run alone they skip.

namespace quorvel {
namespace {

using ShellMessages = testing::ProgramOnSimulatedMouse;

std::vector<QJsonObject> NotifyCalls(const char* log) {
    std::vector<QJsonObject> calls;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        calls.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(line)).object());
    }
    return calls;
}

TEST_F(ShellMessages, NotificationsLastAFewSecondsReplaceTheLastAndNameTheProgram) {
    const char* log = std::getenv("QUORVEL_NOTIFY_LOG");
    if (log == nullptr) {
        GTEST_SKIP() << "needs the stand-in notification service";
    }
    const std::size_t before = NotifyCalls(log).size();
    program->controller().deliver(DeviceEventCode::LinkDown, 0);
    program->controller().deliver(DeviceEventCode::ReportRate, 1);
    const std::vector<QJsonObject> calls = NotifyCalls(log);
    ASSERT_EQ(calls.size(), before + 2);
    const QJsonObject& lost = calls[before];
    const QJsonObject& rate = calls[before + 1];
    EXPECT_EQ(lost["body"].toString(), "The system did not detect the gaming mouse!");
    EXPECT_EQ(lost["summary"].toString(), "Warning");
    EXPECT_GE(lost["timeout"].toInt(), 3000) << "long enough to read";
    EXPECT_EQ(rate["body"].toString(), "Switch report rate into 1000HZ");
    EXPECT_EQ(rate["replaces_id"].toInt(), lost["id"].toInt()) << "one notification of the program at a time";
    EXPECT_EQ(rate["id"].toInt(), lost["id"].toInt());
    for (const QJsonObject& call : {lost, rate}) {
        EXPECT_EQ(call["hints"].toObject()["desktop-entry"].toString(), "io.github.quorvel.Quorvel");
        EXPECT_FALSE(call["app_icon"].toString().isEmpty());
    }
}

TEST_F(ShellMessages, WithoutTrayOrNotificationServiceTheTitleAndStandardErrorCarryThem) {
    if (std::getenv("QUORVEL_EXPECT_NO_NOTIFICATIONS") == nullptr) {
        GTEST_SKIP() << "needs a session bus without a notification service";
    }
    ASSERT_FALSE(program->tray().hasIcon());
    ::testing::internal::CaptureStderr();
    program->controller().deliver(DeviceEventCode::LinkDown, 0);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("The system did not detect the gaming mouse!"), std::string::npos) << printed;
    EXPECT_TRUE(program->window().windowTitle().contains("The system did not detect the gaming mouse!"))
        << program->window().windowTitle().toStdString();
}

} // namespace
} // namespace quorvel
