// The help window as a user meets it: F1 from anywhere in the main window, centred on it, and
// Esc to close it.
#include "WindowFixture.h"

#include <QFile>
#include <QTest>
#include <QTextBrowser>

namespace {

class HelpWindowTest : public WindowFixture
{
};

TEST_F(HelpWindowTest, F1OpensTheHelpOverTheWindowAndEscClosesIt)
{
    QFile page(appFolder + "/TONVE_EN.html");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1>Tonvera help</h1></body></html>");
    page.close();
    storeSettings({{"Language", "EN"}, {"Path", path("")}});
    ASSERT_TRUE(start());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    ui().CboURL->setFocus(); // even from the path box, where the user types
    QTest::keyClick(ui().CboURL, Qt::Key_F1);
    HelpWindow *help = shell->helpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    // Over the main window.
    EXPECT_TRUE(window->frameGeometry().contains(help->frameGeometry().center()));
    EXPECT_TRUE(messages.texts.isEmpty());

    QTest::keyClick(help->browser(), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

} // namespace
