#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <vector>

#include "qt/program.h"
#include "qt/shell_support.h"

namespace quorvel {
namespace {

// The program's window as a screen reader sees it through Qt's accessibility.
// (Qt hands its accessibility events on only to a running AT-SPI bridge:
// tests/desktop/atspi_test.py hears them as Orca does.)
struct AccessibilityShellTest : testing::ProgramOnSimulatedMouse {
    QAccessibleInterface* window() { return QAccessible::queryAccessibleInterface(&program->window()); }
    std::vector<QAccessibleInterface*> children(QAccessible::Role role) {
        std::vector<QAccessibleInterface*> found;
        QAccessibleInterface* window = this->window();
        for (int i = 0; i < window->childCount(); ++i) {
            QAccessibleInterface* child = window->child(i);
            if (child != nullptr && child->role() == role) {
                found.push_back(child);
            }
        }
        return found;
    }
    QStringList names(QAccessible::Role role) {
        QStringList list;
        for (QAccessibleInterface* child : children(role)) {
            list << child->text(QAccessible::Name);
        }
        return list;
    }
    QAccessibleInterface* named(QAccessible::Role role, const QString& name) {
        for (QAccessibleInterface* child : children(role)) {
            if (child->text(QAccessible::Name) == name) {
                return child;
            }
        }
        return nullptr;
    }
};

TEST_F(AccessibilityShellTest, TheBasicPageIsNamedControlsWithRolesStatesAndPlaces) {
    QAccessibleInterface* window = this->window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), program->window().windowTitle());

    const QStringList buttons = names(QAccessible::PushButton);
    for (const char* name : {"OK", "Apply", "Cancel", "Skins", "Basic Settings", "Advanced Settings"}) {
        EXPECT_TRUE(buttons.contains(name)) << name << " in " << buttons.join(", ").toStdString();
    }
    EXPECT_GE(children(QAccessible::ComboBox).size(), 8U);
    EXPECT_EQ(names(QAccessible::RadioButton),
              QStringList({"Mode A", "Mode B", "125 Hz", "250 Hz", "500 Hz", "1000 Hz"}));

    // The chosen report rate is the checked one of its group.
    QAccessibleInterface* chosen = named(QAccessible::RadioButton, "1000 Hz");
    ASSERT_NE(chosen, nullptr);
    EXPECT_TRUE(chosen->state().checkable);
    EXPECT_EQ(chosen->state().checked, program->controller().working().reportRate == 1);
    EXPECT_TRUE(chosen->state().focusable);

    // A row is a closed drop-down that opens its menu.
    QAccessibleInterface* row = children(QAccessible::ComboBox).front();
    EXPECT_TRUE(row->state().collapsed);
    EXPECT_FALSE(row->state().expanded);
    EXPECT_EQ(row->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::showMenuAction()});

    // Each object stands where the skin draws it, on the screen.
    QAccessibleInterface* ok = named(QAccessible::PushButton, "OK");
    ASSERT_NE(ok, nullptr);
    const Rect okRect = testing::CommitButtonRect(TextId::kOk);
    EXPECT_EQ(ok->rect().topLeft(), program->window().mapToGlobal(QPoint(okRect.left, okRect.top)));
    EXPECT_EQ(ok->rect().size(), QSize(okRect.width(), okRect.height()));
    EXPECT_EQ(window->childAt(ok->rect().center().x(), ok->rect().center().y()), ok);
    EXPECT_EQ(ok->parent(), window);
    EXPECT_EQ(window->child(window->indexOfChild(ok)), ok);
}

TEST_F(AccessibilityShellTest, AReadersActionsPressAndStepAsThePointerWould) {
    // A DPI column is a slider whose value is its step.
    const std::vector<QAccessibleInterface*> sliders = children(QAccessible::Slider);
    ASSERT_FALSE(sliders.empty());
    QAccessibleValueInterface* column = sliders.front()->valueInterface();
    ASSERT_NE(column, nullptr);
    const int before = column->currentValue().toInt();
    ASSERT_LT(before, column->maximumValue().toInt());
    column->setCurrentValue(before + 1);
    EXPECT_EQ(program->controller().working().dpiValueIndex[0], before + 1);
    EXPECT_EQ(column->currentValue().toInt(), before + 1);

    // "Advanced Settings" pressed: the page changes once the event loop runs.
    QAccessibleInterface* advanced = named(QAccessible::PushButton, "Advanced Settings");
    ASSERT_NE(advanced, nullptr);
    advanced->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(program->controller().currentPage(), Page::Advanced);

    // The page's edits and list boxes are Qt's own widgets, named by the page.
    for (QAccessible::Role role : {QAccessible::EditableText, QAccessible::List}) {
        const std::vector<QAccessibleInterface*> found = children(role);
        ASSERT_FALSE(found.empty()) << role;
        for (QAccessibleInterface* child : found) {
            EXPECT_NE(child->object(), nullptr) << "a real widget";
            EXPECT_FALSE(child->text(QAccessible::Name).isEmpty()) << role;
        }
    }
}

TEST_F(AccessibilityShellTest, TabMovesTheFocusAReaderHears) {
    SkinnedWindow& shown = program->window();
    QApplication::setActiveWindow(&shown);
    QTest::keyClick(&shown, Qt::Key_Tab);
    const int focused = program->controller().focusedControl();
    ASSERT_GE(focused, 0) << "Tab takes the focus onto the first control";
    QAccessibleInterface* object = window()->focusChild();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->state().focused);

    QTest::keyClick(&shown, Qt::Key_Tab);
    QAccessibleInterface* next = window()->focusChild();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, object);
    EXPECT_FALSE(object->state().focused);
    EXPECT_EQ(next, window()->child(window()->indexOfChild(next)));
}

TEST_F(AccessibilityShellTest, TheSkinsDialogIsNamedByItsOwnTitle) {
    QString name;
    int childCount = 0;
    QAccessible::Role role = QAccessible::NoRole;
    testing::WhenDialogOpens([&](QtDialogWindow& dialog) {
        QAccessibleInterface* object = QAccessible::queryAccessibleInterface(&dialog);
        role = object->role();
        name = object->text(QAccessible::Name);
        childCount = object->childCount();
    });
    program->controller().ChooseSkin();
    EXPECT_EQ(role, QAccessible::Dialog);
    EXPECT_EQ(name, "Skins");
    EXPECT_GT(childCount, 0);
}

} // namespace
} // namespace quorvel
