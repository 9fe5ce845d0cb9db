// The folder dialog offscreen: its browser answered from a timer as a user
// would, the events it raises and the folder it keeps between calls.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "common/widget_app_env.h"
#include "windows/SelectFolder.h"

namespace tam32 {
namespace {

// OK as the browser's button presses it.
void Accept(QFileDialog& Browser) { static_cast<QDialog&>(Browser).accept(); }

class SelectFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("a")));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("b")));
        a = QDir::cleanPath(root.filePath(QStringLiteral("a")));
        b = QDir::cleanPath(root.filePath(QStringLiteral("b")));
    }
    // Runs Execute while User acts on the open browser.
    bool Execute(const std::function<void(QFileDialog&)>& User) {
        QTimer::singleShot(0, [this, User] {
            ASSERT_NE(dialog.Browser(), nullptr);
            User(*dialog.Browser());
        });
        return dialog.Execute();
    }

    QTemporaryDir root;
    QString a, b;
    TSelectFolderDialog dialog;
};

TEST_F(SelectFolderTest, CanCloseAnsweringFalseKeepsTheBrowserOpen) {
    int asked = 0;
    dialog.OnCanClose = [&](QObject* Sender, bool& CanClose) {
        EXPECT_EQ(Sender, &dialog);
        CanClose = ++asked > 1;
    };
    EXPECT_TRUE(Execute([&](QFileDialog& Browser) {
        Browser.setDirectory(a);
        Accept(Browser);
        EXPECT_TRUE(Browser.isVisible());
        Accept(Browser);
    }));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dialog.GetDirectory(), a);
    EXPECT_EQ(dialog.DisplayName, QStringLiteral("a"));
}

TEST_F(SelectFolderTest, ASecondBrowseStartsAtTheLastChoiceAndCancelKeepsIt) {
    int shown = 0, closed = 0, changes = 0;
    dialog.OnShow = [&](QObject*) { ++shown; };
    dialog.OnClose = [&](QObject*) { ++closed; };
    dialog.OnFolderChange = [&](QObject*) { ++changes; };
    ASSERT_TRUE(Execute([&](QFileDialog& Browser) {
        Browser.setDirectory(a);
        Accept(Browser);
    }));
    EXPECT_FALSE(Execute([&](QFileDialog& Browser) {
        EXPECT_EQ(QDir::cleanPath(Browser.directory().absolutePath()), a);
        emit Browser.currentChanged(b);  // the user's selection in the folder list
        EXPECT_EQ(dialog.GetDirectory(), b);
        Browser.reject();
    }));
    EXPECT_EQ(dialog.GetDirectory(), a);
    EXPECT_EQ(std::pair(shown, closed), std::pair(2, 2));
    EXPECT_EQ(changes, 1);
}

TEST_F(SelectFolderTest, StatusTextIsShownOnlyWithItsOptionAndCaptionsReplaceTheBrowsersOwn) {
    dialog.SetStatusText(QStringLiteral("Choose the outline folder"));
    dialog.SetCaption(QStringLiteral("Outlines"));
    dialog.SetOKButtonCaption(QStringLiteral("Take"));
    for (bool withOption : {false, true}) {
        SCOPED_TRACE(withOption);
        if (withOption) dialog.Options.Include(TBrowseInfoOption::bifStatusText);
        Execute([&](QFileDialog& Browser) {
            auto* status = Browser.findChild<QLabel*>(QStringLiteral("StatusText"));
            ASSERT_NE(status, nullptr);
            EXPECT_EQ(status->isVisible(), withOption);
            EXPECT_EQ(status->text(), withOption ? dialog.StatusText() : QString());
            EXPECT_EQ(Browser.windowTitle(), QStringLiteral("Outlines"));
            EXPECT_EQ(Browser.labelText(QFileDialog::Accept), QStringLiteral("Take"));
            Browser.reject();
        });
    }
}

TEST_F(SelectFolderTest, SpecialFoldersAreTheUsersFoldersOrDoNotExistHere) {
    dialog.SetSelectSpecialFolder(TSpecialFolder::sfProfile);
    EXPECT_EQ(dialog.GetDirectory(), QDir::cleanPath(QDir::homePath()));
    EXPECT_EQ(dialog.SelectSpecialFolder(), TSpecialFolder::sfProfile);
    EXPECT_THROW(dialog.SetSelectSpecialFolder(TSpecialFolder::sfPrinters), EOleSysError);
    ASSERT_TRUE(Execute([&](QFileDialog& Browser) {
        Browser.setDirectory(a);
        Accept(Browser);
    }));
    EXPECT_EQ(dialog.SelectSpecialFolder(), TSpecialFolder::sfNone);

    // The shell's numbers skip some values; the last one stands for no folder.
    const std::pair<TSpecialFolder, int> ids[] = {{TSpecialFolder::sfMyMusic, 0x0D},
                                                  {TSpecialFolder::sfProgramFilesCommon, 0x2B},
                                                  {TSpecialFolder::sfCommonVideo, 0x37},
                                                  {TSpecialFolder::sfNone, 0xFFFF}};
    for (auto [folder, id] : ids) EXPECT_EQ(SpecialFolderId(folder), id);
    EXPECT_EQ(BrowseInfoFlag(TBrowseInfoOption::bifUseNewUI), 0x50u);
    EXPECT_EQ(BrowseInfoFlag(TBrowseInfoOption::bifBrowseForComputer), 0x1000u);
}

}  // namespace
}  // namespace tam32
