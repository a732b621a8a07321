// What a reader's keyboard and mouse reach through the real widgets: the selectors' text
// changes only by the rules of typing, the wheel does nothing over them, keys in a dropped-down
// list reach the window's key handler first, and closing the window asks first.
#include "tests/support/viewer.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QString kNoPage =
    QStringLiteral("IL NUMERO DIGITATO NON CORRISPONDE a nessuna pagina dell'intero TESTO\r");

QLineEdit* lineEdit(const Selector& s) {
    return s.combo()->lineEdit();
}

void wheel(QWidget* target, int delta) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// Every way into a line edit's text other than typing, each as the toolkit delivers it.
const std::vector<std::pair<const char*, std::function<void(QLineEdit*)>>> kOtherWaysIn = {
    {"cut",
     [](QLineEdit* e) {
         QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
         QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
     }},
    {"undo", [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier); }},
    {"delete to the end",
     [](QLineEdit* e) {
         QTest::keyClick(e, Qt::Key_Home);
         QTest::keyClick(e, Qt::Key_K, Qt::ControlModifier);
     }},
    {"delete a word",
     [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Delete, Qt::ControlModifier); }},
    {"delete",
     [](QLineEdit* e) {
         QTest::keyClick(e, Qt::Key_Home);
         QTest::keyClick(e, Qt::Key_Delete);
     }},
    {"middle button", [](QLineEdit* e) { QTest::mouseClick(e, Qt::MiddleButton); }},
    {"drop",
     [](QLineEdit* e) {
         QMimeData data;
         data.setText(QStringLiteral("77"));
         QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(e, &enter);
         QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(e, &drop);
     }},
    {"input method",
     [](QLineEdit* e) {
         QInputMethodEvent commit;
         commit.setCommitString(QStringLiteral("77"));
         QApplication::sendEvent(e, &commit);
     }},
};
} // namespace

TEST(ReaderHands, TypedPageNumberIsNeverCompleted) {
    for (const char* typed : {"0", "003", "12"}) {
        Viewer r;
        r.press(Qt::Key_F2);
        r.type(QString::fromLatin1(typed));
        EXPECT_EQ(r.pageText(), typed);
        EXPECT_EQ(lineEdit(*r.form->Combo1)->selectedText(), "");
    }
    Viewer r; // the first book starts at 1: typing 0 is no page of book 1
    r.press(Qt::Key_F2);
    r.type(QStringLiteral("0"));
    r.press(Qt::Key_Return);
    EXPECT_EQ(r.newBoxes(), QStringList{kNoPage});
    EXPECT_TRUE(r.showing(1, 4));
}

TEST(ReaderHands, WheelOverASelectorChangesNothing) {
    Viewer r;
    r.openAt(1, 2);
    for (Selector* s : {r.form->Combo1.get(), r.form->Combo2.get()}) {
        for (QWidget* target :
             {static_cast<QWidget*>(s->combo()), static_cast<QWidget*>(lineEdit(*s))})
            for (int delta : {120, -120, 360})
                wheel(target, delta);
    }
    EXPECT_EQ(r.form->Combo2->ListIndex(), 1);
    EXPECT_EQ(r.form->Combo1->ListIndex(), 2);
    EXPECT_EQ(r.pageText(), "002d");
    EXPECT_TRUE(r.showing(1, 2));
    EXPECT_TRUE(r.newBoxes().isEmpty());
}

TEST(ReaderHands, OnlyTypingChangesTheBookSelector) {
    Viewer r;
    r.press(Qt::Key_F1);
    QLineEdit* edit = lineEdit(*r.form->Combo2);
    QApplication::clipboard()->setText(QStringLiteral("zz"));
    QApplication::clipboard()->setText(QStringLiteral("zz"), QClipboard::Selection);
    auto ways = kOtherWaysIn;
    ways.push_back(
        {"paste", [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier); }});
    ways.push_back({"shift+insert",
                    [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier); }});
    for (const auto& [name, act] : ways) {
        act(edit);
        EXPECT_EQ(r.form->Combo2->Text(), "01 Lib.01 Antiporta") << name;
    }
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &menu);
    QApplication::sendEvent(r.form->Combo2->combo(), &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // Closing keeps the place of a book that exists.
    r.press(Qt::Key_Escape);
    ASSERT_TRUE(r.form->Picture7->Visible());
    EXPECT_THROW(r.key(83), ProgramEnded); // S
    EXPECT_EQ(contentOf(r.volume.bookmarkPath()), " 0\r\n 0\r\n");
}

TEST(ReaderHands, PastedPageNumberFollowsTheTypingRules) {
    Viewer r;
    r.press(Qt::Key_F2);
    QLineEdit* edit = lineEdit(*r.form->Combo1);
    for (const auto& [name, act] : kOtherWaysIn) {
        r.form->Combo1->setText(QStringLiteral("12"));
        act(edit);
        EXPECT_EQ(r.pageText(), "12") << name;
    }
    QApplication::clipboard()->setText(QStringLiteral("1a,5\n99"));
    r.form->Combo1->setText(QString());
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(r.pageText(), "1.599"); // a, the line break and the sixth character dropped
    r.form->Combo1->setText(QString());
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(r.pageText(), "1.599");
    EXPECT_TRUE(r.newBoxes().isEmpty()); // a pasted line break is no Enter
}

TEST(ReaderHands, KeysInADroppedDownListReachTheWindowFirst) {
    Viewer r;
    QComboBox* list = r.form->Combo1->combo();
    list->showPopup();
    QWidget* popup = list->view();
    ASSERT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Right);
    EXPECT_TRUE(r.showing(0, 1));
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_TRUE(r.form->Picture7->Visible());
}

TEST(ReaderHands, EveryControlIsNamedInItalianAndEachPageShownIsAnnounced) {
    Viewer r;
    BookForm& f = *r.form;
    std::vector<Control*> controls = {
        f.SCHERMO.get(),  f.Image1.get(),    f.ZoomView.get(),  f.Combo1.get(),  f.Combo2.get(),
        f.Picture5.get(), f.Command1.get(),  f.Command2.get(),  f.Image10.get(), f.Image11.get(),
        f.Image15.get(),  f.Image2[0].get(), f.Image2[1].get(), f.Image14.get(), f.Picture7.get(),
        f.Picture9.get(), f.Label8.get()};
    for (int i = 0; i < 6; ++i)
        controls.push_back(f.Image8[i].get());
    for (auto& c : f.Image13)
        controls.push_back(c.get());
    for (auto& c : f.Option1)
        controls.push_back(c.get());
    const auto spoken = [](const Control& c, QAccessible::Text what) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c.widget());
        return a ? a->text(what) : QString();
    };
    for (const Control* c : controls) {
        EXPECT_FALSE(spoken(*c, QAccessible::Name).isEmpty()) << c->ToolTipText().toStdString();
        EXPECT_FALSE(spoken(*c, QAccessible::Description).isEmpty())
            << spoken(*c, QAccessible::Name).toStdString();
    }
    EXPECT_EQ(spoken(*f.Image8[4], QAccessible::Name), "Lente");
    // The viewing area, which holds the focus while a reader reads, is named after the page.
    EXPECT_EQ(spoken(*f.SCHERMO, QAccessible::Name), "Libro 01 Lib.01 Antiporta, pagina 0001");
    r.press(Qt::Key_Right);
    EXPECT_EQ(spoken(*f.SCHERMO, QAccessible::Name), "Libro 01 Lib.01 Antiporta, pagina 0002");
    r.openAt(1, 2);
    EXPECT_EQ(spoken(*f.SCHERMO, QAccessible::Name), "Libro 02 Lib.02 Primo libro, pagina 002d");
}
