// Selectors: code assignments of the selected position run the click handler at once, texts
// run nothing, and the focus leaving a selector picks nothing. (Typed characters reach the
// key-press handler first: the window's selector tests type through it.)
#include "platform/selector.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;

namespace {
struct Fixture {
    Fixture() : selector(&window) {
        window.resize(400, 100);
        selector.setGeometry(0, 0, 3000, 315);
        for (const char* item : {"0001", "0002", "0003"})
            selector.AddItem(QString::fromLatin1(item));
        selector.onClick = [this] { clicks.push_back(selector.ListIndex()); };
        window.show();
        QApplication::setActiveWindow(&window);
        selector.SetFocus();
    }
    QWidget window;
    Selector selector;
    std::vector<int> clicks;
};
} // namespace

TEST(Selector, AssigningThePositionRunsTheClickHandlerAtOnce) {
    Fixture f;
    f.selector.setListIndex(2);
    ASSERT_EQ(f.clicks, std::vector<int>{2});
    EXPECT_EQ(f.selector.Text(), "0003");
    f.selector.setText(QStringLiteral("0001"));
    EXPECT_EQ(f.clicks.size(), 1u);
    EXPECT_EQ(f.selector.ListIndex(), 2);
    f.selector.Clear();
    EXPECT_EQ(f.selector.ListIndex(), -1);
    EXPECT_EQ(f.selector.ListCount(), 0);
}

TEST(Selector, FocusLeavingTheSelectorPicksNothing) {
    Fixture f;
    QLineEdit other(&f.window);
    other.show();
    f.selector.setListIndex(2);
    f.clicks.clear();
    f.selector.setText(QStringLiteral("0001")); // an item's text, not the selected item
    f.selector.SetFocus();
    other.setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(f.clicks.empty());
    EXPECT_EQ(f.selector.ListIndex(), 2);
}
