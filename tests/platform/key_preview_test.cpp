// Key preview: every key press of the window reaches the handler once, before the focused
// control, even when the handler moves the focus or runs a modal loop that sees the release.
#include "platform/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;

namespace {
struct Window {
    Window() : child(&window), preview(&window) {
        window.resize(200, 100);
        child.setFocusPolicy(Qt::StrongFocus); // a plain widget: keys travel on to the window
        preview.setEnabled(true);
        window.show();
        QApplication::setActiveWindow(&window);
        child.setFocus();
    }
    QWidget window;
    QWidget child;
    KeyPreview preview;
};
} // namespace

TEST(KeyPreview, EachPressReachesTheHandlerOnceWithItsCode) {
    Window w;
    std::vector<int> codes;
    w.preview.onKeyDown = [&](int code, int) { codes.push_back(code); };
    QTest::keyClick(&w.child, Qt::Key_Right);
    QTest::keyClick(&w.child, Qt::Key_Right);
    QTest::keyClick(&w.child, Qt::Key_F3);
    QTest::keyClick(&w.child, Qt::Key_S);
    EXPECT_EQ(codes, (std::vector<int>{39, 39, 114, 83}));
}

TEST(KeyPreview, HandlerThatMovesTheFocusDoesNotSeeTheKeyAgain) {
    Window w;
    int calls = 0;
    w.preview.onKeyDown = [&](int, int) {
        ++calls;
        w.child.clearFocus(); // the window itself is now the first receiver
    };
    QTest::keyClick(&w.child, Qt::Key_Right);
    EXPECT_EQ(calls, 1);
}

TEST(KeyPreview, ReleaseSeenDuringTheHandlerDoesNotRepeatThePress) {
    Window w;
    int calls = 0;
    w.preview.onKeyDown = [&](int, int) {
        ++calls;
        // A modal box's loop delivers the key's release before the press travels on.
        QTest::keyRelease(&w.child, Qt::Key_Right);
    };
    QTest::keyPress(&w.child, Qt::Key_Right);
    EXPECT_EQ(calls, 1);
}
