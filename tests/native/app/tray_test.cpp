#include <tray_events.h>
#include <tray_menu.h>

#include <gtest/gtest.h>

#include <optional>

using app::SystemCommandAction;
using app::TrayOperation;

// Written out independently of the resource header, so that a slip in either shows.
TEST(TrayMenu, EveryCommandSelectsItsColumnOrCloses)
{
    const unsigned table[app::kTrayPopupCount][app::kTrayPopupCommandCount] = {
        {32771, 32772, 32773, 32774, 32801, 32808, 32775},
        {32776, 32777, 32778, 32779, 32800, 32809, 32780},
        {32781, 32782, 32783, 32784, 32799, 32810, 32786},
        {32787, 32788, 32789, 32790, 32798, 32811, 32791},
        {32792, 32793, 32794, 32795, 32796, 32812, 32797},
        {32813, 32814, 32815, 32816, 32817, 32818, 32819},
    };
    for (int popup = 0; popup < app::kTrayPopupCount; ++popup) {
        for (int item = 0; item < app::kTrayPopupCommandCount; ++item) {
            const unsigned command = table[popup][item];
            SCOPED_TRACE(command);
            EXPECT_EQ(app::trayMenuCommand(popup, item), command);
            if (item < app::kSoftphoneCount) {
                EXPECT_EQ(app::softphoneForCommand(command), std::optional<app::SoftphoneIndex>(item));
                EXPECT_FALSE(app::isCloseCommand(command));
            } else {
                EXPECT_EQ(app::softphoneForCommand(command), std::nullopt);
                EXPECT_TRUE(app::isCloseCommand(command));
            }
        }
    }
}

TEST(TrayMenu, OtherCommandsAreNeither)
{
    for (unsigned command : {0u, 1u, 2u, 16u, 32770u, 32785u, 32802u, 32807u, 32820u}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(app::softphoneForCommand(command), std::nullopt);
        EXPECT_FALSE(app::isCloseCommand(command));
    }
    EXPECT_EQ(app::trayMenuCommand(6, 0), 0u);
    EXPECT_EQ(app::trayMenuCommand(0, 7), 0u);
    EXPECT_EQ(app::trayMenuCommand(-1, 0), 0u);
}

TEST(TrayEvents, NotificationDispatch)
{
    struct Row {
        std::uintptr_t wParam;
        std::intptr_t lParam;
        std::optional<TrayOperation> expected;
    };
    const Row rows[] = {
        {1, 0x0201, TrayOperation::LeftDown},
        {1, 0x0203, TrayOperation::LeftDoubleClick},
        {1, 0x0204, TrayOperation::RightDown},
        {1, 0x007B, TrayOperation::RightDown}, // context-menu key
        {1, 0x0206, TrayOperation::RightDoubleClick},
        {1, 0x0200, TrayOperation::MouseMove},
        {1, 0x0202, std::nullopt}, // button-up messages do nothing
        {1, 0x0205, std::nullopt},
        {1, 0, std::nullopt},
        {0, 0x0204, std::nullopt}, // only the program's own icon
        {2, 0x0204, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "wParam " << row.wParam << " lParam 0x" << std::hex << row.lParam);
        EXPECT_EQ(app::trayOperation(row.wParam, row.lParam), row.expected);
    }
    EXPECT_TRUE(app::opensTrayPopup(TrayOperation::RightDown));
    EXPECT_TRUE(app::opensTrayPopup(TrayOperation::RightDoubleClick));
    EXPECT_FALSE(app::opensTrayPopup(TrayOperation::LeftDoubleClick));
}

TEST(TrayEvents, SystemCommands)
{
    struct Row {
        std::uintptr_t command;
        bool minimizeToTray;
        SystemCommandAction expected;
    };
    const Row rows[] = {
        {16, true, SystemCommandAction::Ignore},
        {19, true, SystemCommandAction::Ignore}, // low bits are the system's
        {0xF020, true, SystemCommandAction::ToTray},
        {0xF022, true, SystemCommandAction::ToTray},
        {0xF060, true, SystemCommandAction::ToTray},
        {0xF020, false, SystemCommandAction::Default},
        {0xF060, false, SystemCommandAction::Default},
        {0xF030, true, SystemCommandAction::Default}, // maximise
        {0xF120, true, SystemCommandAction::Default}, // restore
        {32, true, SystemCommandAction::Default},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "0x" << std::hex << row.command << " tray " << row.minimizeToTray);
        EXPECT_EQ(app::systemCommandAction(row.command, row.minimizeToTray), row.expected);
    }
}
